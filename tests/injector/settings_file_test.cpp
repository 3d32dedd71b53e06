// Fauxlarm.ini: what a user types is what the program uses, what the program writes reads
// back unchanged, and files of earlier versions (Qt's INI escaping) read as they did.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "injector/SettingsFile.h"
#include "injector/SettingsStore.h"

namespace {

const QString kSection = QStringLiteral("Parameters");

class SettingsFileTest : public ::testing::Test {
 protected:
  QString Path() const { return folder_.filePath(QStringLiteral("Fauxlarm.ini")); }

  void WriteFile(const QByteArray& bytes) {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  QByteArray ReadFile() const {
    QFile file(Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QString Get(const QString& key) {
    return SettingsStore(Path()).GetSetting(kSection, key, QStringLiteral("<missing>"));
  }

  QTemporaryDir folder_;
};

TEST_F(SettingsFileTest, TypedValuesAreTheTextAfterTheEqualsSign) {
  WriteFile(
      "; typed by hand\r\n"
      "[parameters]\r\n"
      "Field_0 = Pump 3, hall B  \r\n"
      "Field_1=A5;B\r\n"
      "field_2=C:\\temp\\new\r\n"
      "FIELD_3=\\\\server\\share\r\n"
      "Field_4=a=b|c # not a comment\r\n"
      "Field_5=\"quoted, with \\\"escapes\\\"\\t\"\r\n"
      "Date=\"half quoted\r\n"
      "this line has no equals sign\r\n"
      "# Time=commented out\r\n");
  EXPECT_EQ(Get(QStringLiteral("Field_0")), QStringLiteral("Pump 3, hall B"));
  EXPECT_EQ(Get(QStringLiteral("Field_1")), QStringLiteral("A5;B"));
  EXPECT_EQ(Get(QStringLiteral("Field_2")), QStringLiteral("C:\\temp\\new"));
  EXPECT_EQ(Get(QStringLiteral("Field_3")), QStringLiteral("\\\\server\\share"));
  EXPECT_EQ(Get(QStringLiteral("Field_4")), QStringLiteral("a=b|c # not a comment"));
  EXPECT_EQ(Get(QStringLiteral("Field_5")), QStringLiteral("quoted, with \"escapes\"\t"));
  EXPECT_EQ(Get(QStringLiteral("Date")), QStringLiteral("\"half quoted"));
  EXPECT_EQ(Get(QStringLiteral("Time")), QStringLiteral("<missing>"));
}

// Written by QSettings::IniFormat, as the earlier version of the program did.
TEST_F(SettingsFileTest, FilesOfTheEarlierVersionReadTheSame) {
  WriteFile(
      "[Parameters]\n"
      "Date=\xC3\x85ngstr\xC3\xB6m \xE2\x82\xAC\n"
      "Field_0=\"a, b\"\n"
      "Field_1=\\\"quoted\\\"\n"
      "Field_2=x|y\n"
      "Field_3=C:\\\\dir\\\\\n"
      "Field_4=\"k=v; #note\"\n"
      "Field_5=\"  padded  \"\n"
      "NumberOfEvents=@@3\n"
      "SCADA%20System=Regin EXO4\n"
      "SendInterval=\\\\\\\\server\\\\share\n"
      "Time=\n"
      "AutoDateAndTime=@@@x\n"
      "ConnectionType=\"\\\"q, r\\\"\\x1\\x63\"\n");
  EXPECT_EQ(Get(QStringLiteral("Date")), QString::fromUtf8("\xC3\x85ngstr\xC3\xB6m \xE2\x82\xAC"));
  EXPECT_EQ(Get(QStringLiteral("Field_0")), QStringLiteral("a, b"));
  EXPECT_EQ(Get(QStringLiteral("Field_1")), QStringLiteral("\"quoted\""));
  EXPECT_EQ(Get(QStringLiteral("Field_2")), QStringLiteral("x|y"));
  EXPECT_EQ(Get(QStringLiteral("Field_3")), QStringLiteral("C:\\dir\\"));
  EXPECT_EQ(Get(QStringLiteral("Field_4")), QStringLiteral("k=v; #note"));
  EXPECT_EQ(Get(QStringLiteral("Field_5")), QStringLiteral("  padded  "));
  EXPECT_EQ(Get(QStringLiteral("NumberOfEvents")), QStringLiteral("@3"));
  EXPECT_EQ(Get(QStringLiteral("SCADA System")), QStringLiteral("Regin EXO4"));
  EXPECT_EQ(Get(QStringLiteral("SendInterval")), QStringLiteral("\\\\server\\share"));
  EXPECT_EQ(Get(QStringLiteral("Time")), QString());
  EXPECT_EQ(Get(QStringLiteral("AutoDateAndTime")), QStringLiteral("@@x"));
  EXPECT_EQ(Get(QStringLiteral("ConnectionType")), QStringLiteral("\"q, r\"\x01"
                                                                  "c"));
}

TEST_F(SettingsFileTest, WhatQtsIniFormatWroteReadsTheSame) {
  const QString texts[] = {
      QStringLiteral("a, b"),
      QStringLiteral("\"quoted\""),
      QStringLiteral("C:\\dir\\"),
      QStringLiteral("k=v; #note"),
      QStringLiteral("  padded  "),
      QStringLiteral("@3"),
      QStringLiteral("@@x"),
      QStringLiteral("\\\\unc\\x"),
      QStringLiteral("\"q, r\""),
      QStringLiteral("\\"),
      QStringLiteral(" \t, "),
      QString(),
      QString::fromUtf8("\xE2\x82\xAC \xF0\x9F\x94\x94 \xC3\xA4"),
  };
  {
    QSettings qt(Path(), QSettings::IniFormat);
    for (int i = 0; i < std::ssize(texts); ++i)
      qt.setValue(QStringLiteral("Parameters/Key %1").arg(i), texts[i]);
  }
  for (int i = 0; i < std::ssize(texts); ++i)
    EXPECT_EQ(Get(QStringLiteral("Key %1").arg(i)), texts[i]) << ReadFile().toStdString();
}

TEST_F(SettingsFileTest, AwkwardTextsRoundTripThroughTheFile) {
  const QString texts[] = {
      QString(),
      QStringLiteral(" "),
      QStringLiteral("  leading and trailing  "),
      QStringLiteral("\"both ends\""),
      QStringLiteral("\"one end"),
      QStringLiteral("C:\\temp\\new"),
      QStringLiteral("\\\\"),
      QStringLiteral("\\\""),
      QStringLiteral("ends with \\"),
      QStringLiteral("tab\there, line\nfeed, return\r, nul\x00"
                     "1 and \x01"
                     "f"),
      QStringLiteral("@"),
      QStringLiteral("@@"),
      QStringLiteral("@@@x"),
      QStringLiteral("; not a comment"),
      QStringLiteral("[not a section]"),
      QStringLiteral("a=b"),
      QString::fromUtf8("\xC3\x85sa \xE2\x82\xAC \xF0\x9F\x94\x94"),
      QString(1, QChar(0xD800)) + QStringLiteral("lone surrogate"),
      QString(5000, u'x'),
  };
  {
    SettingsStore store(Path());
    for (int i = 0; i < std::ssize(texts); ++i)
      store.SaveSetting(kSection, QStringLiteral("Field_%1").arg(i), texts[i]);
    ASSERT_TRUE(store.Flush());
  }
  for (int i = 0; i < std::ssize(texts); ++i) {
    EXPECT_EQ(Get(QStringLiteral("Field_%1").arg(i)), texts[i]) << i;
  }
}

TEST(SettingsFileFormat, EveryTextOfAwkwardCharactersRoundTrips) {
  const QString alphabet = QStringLiteral(" \t\"\\@=;,#[]%x0ae\n\r\x01") + QChar(0x20AC);
  QRandomGenerator random(12);
  for (int n = 0; n < 20000; ++n) {
    QString text;
    for (int length = random.bounded(9); length > 0; --length)
      text += alphabet[random.bounded(static_cast<int>(alphabet.size()))];
    QSettings::SettingsMap map{{QStringLiteral("Parameters/Key"), text}};
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(SettingsFile::Write(buffer, map));
    buffer.seek(0);
    QSettings::SettingsMap read;
    ASSERT_TRUE(SettingsFile::Read(buffer, read));
    ASSERT_EQ(read.value(QStringLiteral("Parameters/Key")).toString(), text)
        << buffer.data().toStdString();
  }
}

TEST(SettingsFileFormat, PlainTextsStayPlainOthersAreQuoted) {
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("Pump 3, hall B")),
            QStringLiteral("Pump 3, hall B"));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("C:\\temp\\new")),
            QStringLiteral("C:\\temp\\new"));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("C:\\\\x")),
            QStringLiteral("\"C:\\\\\\\\x\""));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral(" x")), QStringLiteral("\" x\""));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("\"x\"")), QStringLiteral("\"\\\"x\\\"\""));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("a\tb\x01"
                                                     "c")),
            QStringLiteral("\"a\\tb\\x1\\x63\""));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("@@x")), QStringLiteral("@@@x"));
  EXPECT_EQ(SettingsFile::ValueToFile(QStringLiteral("@x")), QStringLiteral("@x"));
}

TEST(SettingsFileFormat, WritesSectionsAndReadableKeys) {
  QSettings::SettingsMap map{{QStringLiteral("Parameters/SCADA System"), QStringLiteral("Regin")},
                             {QStringLiteral("Parameters/Field_0"), QStringLiteral("a, b")},
                             {QStringLiteral("Odd=Key%"), QStringLiteral("1")}};
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  ASSERT_TRUE(SettingsFile::Write(buffer, map));
  const QByteArray written = buffer.data();
  EXPECT_TRUE(written.startsWith("; Fauxlarm settings."));
  EXPECT_TRUE(
      written.endsWith("Odd%3DKey%25=1\n"
                       "[Parameters]\n"
                       "Field_0=a, b\n"
                       "SCADA System=Regin\n"))
      << written.toStdString();
  buffer.seek(0);
  QSettings::SettingsMap read;
  ASSERT_TRUE(SettingsFile::Read(buffer, read));
  EXPECT_EQ(read, map);
}

TEST_F(SettingsFileTest, SavingReplacesAKeyTypedInAnotherCase) {
  WriteFile("[PARAMETERS]\nfield_0=typed\n");
  SettingsStore store(Path());
  EXPECT_EQ(store.GetSetting(kSection, QStringLiteral("Field_0"), {}), QStringLiteral("typed"));
  store.SaveSetting(kSection, QStringLiteral("Field_0"), QStringLiteral("saved"));
  ASSERT_TRUE(store.Flush());
  EXPECT_FALSE(ReadFile().contains("field_0")) << ReadFile().toStdString();
  EXPECT_EQ(Get(QStringLiteral("FIELD_0")), QStringLiteral("saved"));
}

TEST_F(SettingsFileTest, GarbageIsReplacedWithoutAFailure) {
  WriteFile("\x01\x02\xFF\xFE garbage\n[Param\n=x\n[Parameters\nField_0=1\n");
  SettingsStore store(Path());
  store.SaveSetting(kSection, QStringLiteral("Date"), QStringLiteral("d"));
  EXPECT_TRUE(store.Flush());
  EXPECT_EQ(Get(QStringLiteral("Date")), QStringLiteral("d"));
}

}  // namespace
