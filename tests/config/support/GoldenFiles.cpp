#include "GoldenFiles.h"

#include "Bytes.h"

namespace Halvane_Config::golden {

std::string SampleSettings() {
  return Hex("0200 0500") +     // Integer 5
         Hex("0800 0100 78") +  // String "x"
         Hex("0000") +          // Empty
         Hex("0b00 ffff");      // Boolean True
}

std::string ReceiverV5(std::int16_t identity, bool enabled, std::int16_t typeId,
                       std::string_view name, std::string_view settings, std::string_view backup,
                       double timeOfWriting) {
  return Bytes()
      .Int16(5)
      .Int16(identity)
      .Flag(enabled)
      .Int16(typeId)
      .Text(name)
      .Raw(settings)
      .Zeros(10)
      .Text(backup)
      .Double(timeOfWriting)
      .Zeros(2048);
}

std::string EmptyReceiverV5(std::int16_t identity, double timeOfWriting) {
  return ReceiverV5(identity, true, -1, "", Repeat("0000", 4), "", timeOfWriting);
}

std::string ReceiverV3() {
  return Bytes().Int16(3).Int16(7).Int16(12).Text("Pump").Raw(SampleSettings());
}

std::string ReceiverV4() {
  return Bytes()
      .Int16(4)
      .Int16(41)
      .Flag(false)
      .Int16(12)
      .Text("Pump")
      .Raw(SampleSettings())
      .Zeros(10)
      .Text("Standby")
      .Text("a")
      .Text("")
      .Text("b")
      .Text("");
}

std::string EmptySchedule() {
  return Repeat("ffff 0000 0000 0000", 7) + Repeat("0000 0000 0000 0000", 16) + Hex("0000");
}

std::string SampleSchedule() {
  Bytes bytes;
  bytes.Flag(true).Flag(true).Int16(2).Int16(420).Int16(960).Int16(1380).Int16(1440).Int16(0);
  for (int day = 1; day < 5; ++day)
    bytes.Flag(true).Flag(true).Int16(1).Int16(420).Int16(960).Int16(day);
  bytes.Flag(true).Flag(false).Int16(0).Int16(5);
  bytes.Flag(true).Flag(false).Int16(0).Int16(6);
  bytes.Flag(true).Flag(false).Int16(0).Int16(7);  // special day type 1
  for (int day = 8; day < 23; ++day)
    bytes.Flag(false).Flag(false).Int16(0).Int16(8);
  return bytes.Flag(true);
}

std::string EmptyProfileV5(double timeOfWriting) {
  Bytes bytes;
  bytes.Int16(5);                          // version
  bytes.Int16(0);                          // 1 reserved
  bytes.Flag(true);                        // 2 enabled
  bytes.Text("");                          // 3 name
  bytes.Int16(0).Int16(0).Int16(0);        // 4 states
  bytes.Flag(false);                       // 5 use time schedule
  bytes.Int16(0).Int16(0);                 // 6, 7 reserved
  bytes.Text("").Text("");                 // 8, 9 parallel and sequential receivers
  bytes.Raw(Repeat("0000", 6));            // 10 conditions
  bytes.Int16(0).Int16(0);                 // 11, 12 view day type, time axis
  bytes.Flag(false).Text("").Flag(false);  // 13..15 external tag
  bytes.Flag(false).Text("").Text("");     // 16..18 external file
  bytes.Flag(false);                       // 19 scan specific systems
  bytes.Zeros(128);                        // 20 systems
  bytes.Int16(0);                          // 21 off-duty alarm behaviour
  bytes.Double(timeOfWriting);             // 22 time of writing
  bytes.Zeros(2048);                       // 23 reserved
  return bytes.Raw(EmptySchedule());
}

std::string SampleProfile(int version, std::int16_t offDutyAlarmBehaviour, double timeOfWriting) {
  Bytes bytes;
  bytes.Int16(version);
  bytes.Int16(0);                                                         // 1 reserved
  bytes.Flag(true);                                                       // 2 enabled
  bytes.Text("Night");                                                    // 3 name
  bytes.Int16(1).Int16(2).Int16(3);                                       // 4 states
  bytes.Flag(true);                                                       // 5 use time schedule
  bytes.Int16(0);                                                         // 6 reserved
  bytes.Int16(version == 4 ? offDutyAlarmBehaviour : 0);                  // 7
  bytes.Text("Anna;Bert").Text("Carl");                                   // 8, 9 receivers
  bytes.Text("c0").Text("").Text("c2").Text("").Text("").Text("c5\xe9");  // 10 conditions
  bytes.Int16(3).Int16(1);                        // 11, 12 view day type, time axis
  bytes.Flag(true).Text("Tag.1").Flag(false);     // 13..15 external tag
  bytes.Flag(true).Text("C:\\x.txt").Text("ON");  // 16..18 external file
  bytes.Flag(true);                               // 19 scan specific systems
  for (int system = 0; system < 64; ++system)
    bytes.Int16(system == 18 ? 1 : 0);  // 20 systems
  if (version == 5) {
    bytes.Int16(offDutyAlarmBehaviour);  // 21
    bytes.Double(timeOfWriting);         // 22
    bytes.Zeros(2048);                   // 23
  }
  return bytes.Raw(SampleSchedule());
}

std::string NewAlarmRecord(double creationTime) {
  Bytes bytes;
  bytes.Zeros(8);                        // 1 time stamp from SCADA: the zero date
  bytes.Double(creationTime);            // 2 time stamp from the PC
  bytes.Int32(0);                        // 3 event id
  bytes.Int16(0);                        // 4 status
  bytes.Raw(Repeat("0000", 6));          // 5..10 conditions
  bytes.Text("").Text("");               // 11, 12 sequence receivers and their confirmation
  bytes.Int16(0);                        // 13 sequence numbers
  bytes.Text("");                        // 14 parallel receivers
  bytes.Int16(0);                        // 15 parallel numbers
  return bytes.Raw(Repeat("0000", 10));  // 16..25 reserved
}

std::string SampleAlarmRecord() {
  return Bytes()
      .Double(46364.25)
      .Double(46364.5)
      .Int32(74565)
      .Int16(3)
      .Text("c0")
      .Text("c1")
      .Text("c2")
      .Text("c3")
      .Text("c4")
      .Text("c5")
      .Text("Anna;Bert")
      .Text("-1;0")
      .Int16(2)
      .Text("Carl")
      .Int16(1)
      .Raw(Repeat("0000", 10));
}

}  // namespace Halvane_Config::golden
