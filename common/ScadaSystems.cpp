#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Common_Procedures {

std::array<std::u16string, Halvane_Common_Constants::kScadaSystemSlots> ScadaSystemCodes;
std::array<std::u16string, Halvane_Common_Constants::kScadaSystemSlots> ScadaSystemNames;

void SetScadaSystem(std::int16_t systemNumber, std::u16string_view code, std::u16string_view name) {
  if (systemNumber < 0 || systemNumber >= Halvane_Common_Constants::kScadaSystemSlots) {
    throw RuntimeError(kSubscriptOutOfRange);
  }
  ScadaSystemCodes[systemNumber] = code;
  ScadaSystemNames[systemNumber] = name;
}

std::int16_t InitScadaSystems() {
  SetScadaSystem(0, u"CITECT", u"Schneider Electric Citect/VijeoCitect");
  SetScadaSystem(1, u"METASYS5", u"Johnson Controls Metasys 5");
  SetScadaSystem(2, u"NOVAPRO", u"Sauter Automation novaPro32");
  SetScadaSystem(3, u"INTOUCH", u"Wonderware InTouch (ALG file)");
  SetScadaSystem(4, u"FIX32", u"Intellution Fix 32");
  SetScadaSystem(5, u"VISTA", u"Schneider Electric TAC Vista / StruxureWare");
  SetScadaSystem(6, u"BEIJER", u"Beijer Electronics E-/E1000-series/iX devices");
  SetScadaSystem(7, u"ABELKO", u"IMSE WebMaster");
  SetScadaSystem(8, u"EY2400", u"Sauter Automation EY2400");
  SetScadaSystem(9, u"VISONIK", u"Siemens Building Technology Visonik");
  SetScadaSystem(11, u"UNIGYR", u"Siemens Building Technology Unigyr");
  SetScadaSystem(12, u"PROVI", u"Sauter Automation ProVi+");
  SetScadaSystem(13, u"DESIGO", u"Siemens Building Technology Desigo InSight");
  SetScadaSystem(14, u"INU", u"INU-vision");
  SetScadaSystem(15, u"EY2400PROVI", u"Sauter Automation EY2400-ProVi");
  SetScadaSystem(16, u"ENERGO", u"Energo WebSystem SMTP (Niagara)");
  SetScadaSystem(18, u"GENERICTCP", u"Generic TCP (Client)");
  SetScadaSystem(19, u"HALVANEVRM_RS232", u"Halvane Alarm Server (RS-232)");
  SetScadaSystem(20, u"HALVANEVRM_TCP", u"Halvane Alarm Server (TCP)");
  SetScadaSystem(21, u"GENERICMAIL", u"Generic Mail");
  SetScadaSystem(22, u"WDC", u"Kabona WebDatorCentral (WDC)");
  SetScadaSystem(23, u"RBM600", u"Googol T1/RBM-600");
  SetScadaSystem(24, u"WINCC", u"Siemens WinCC");
  SetScadaSystem(25, u"EXO4", u"Regin EXO4");
  SetScadaSystem(26, u"GENERICRS232", u"Generic RS-232");
  SetScadaSystem(27, u"INTOUCHTCP", u"Wonderware InTouch (RAW/TCP printer)");
  SetScadaSystem(28, u"NOVAPROOPENTCP", u"Sauter Automation novaPro Open (RAW/TCP printer)");
  SetScadaSystem(29, u"ATLANTIS", u"Larmia Control Atlantis");
  SetScadaSystem(30, u"MWV", u"Sauter moduWeb Vision");
  SetScadaSystem(32, u"FIDELIX", u"Fidelix FX-2025");
  SetScadaSystem(33, u"XENTA", u"TAC Xenta");
  SetScadaSystem(34, u"BAS2800", u"Satchwell BAS2800+ (RAW/TCP printer)");
  SetScadaSystem(35, u"TRENDRS232", u"Trend 96x Supervisor (RS-232)");
  SetScadaSystem(36, u"GENERICFILE", u"Generic File");
  SetScadaSystem(37, u"WINFLEX", u"KTC WinFlex");
  SetScadaSystem(38, u"EXCEL", u"Honeywell Excel");
  SetScadaSystem(39, u"NETBITER", u"Intellicom NetBiter / Weland OJ Electronis");
  SetScadaSystem(40, u"MASTERPIECE", u"ABB MasterPiece");
  SetScadaSystem(41, u"CSDL", u"Cerberus CSDL");
  SetScadaSystem(42, u"SUPERVISION", u"Johnson Controls SuperVision");
  SetScadaSystem(43, u"BASTEC", u"Bastec BASx");
  SetScadaSystem(44, u"TRENDFILE", u"Trend 96x Supervisor (file)");
  SetScadaSystem(45, u"NOVAPROENTERPRISE", u"Sauter Automation novaPro Enterprise");
  SetScadaSystem(46, u"ALGOREX", u"Cerberus Algorex");
  SetScadaSystem(47, u"INUI30", u"INU I30");
  SetScadaSystem(48, u"SWEGONGOLD", u"Swegon Gold / Nestor");
  SetScadaSystem(49, u"MSEA", u"Johnson Controls MSEA");
  SetScadaSystem(50, u"COLLIBRI", u"Collectric Collibri");
  SetScadaSystem(51, u"ABB800XA", u"ABB 800xA");
  SetScadaSystem(52, u"OMRONPLC", u"Omron PLC");
  SetScadaSystem(53, u"INTEGRA", u"Bravida Integra");
  SetScadaSystem(54, u"FACTORYTALK", u"Rockwell FactoryTalkView SE (RAW/TCP printer)");
  SetScadaSystem(55, u"DIANA", u"Diana Control Diana");
  SetScadaSystem(56, u"ABBFREELANCE", u"ABB Freelance");
  SetScadaSystem(57, u"WEBFACTORY", u"WEBfactory");
  SetScadaSystem(58, u"GENERICTCPSERVER", u"Generic TCP (Server)");
  SetScadaSystem(59, u"ABBMICROSCADA", u"ABB MicroSCADA");
  SetScadaSystem(63, u"", u"Halvane System Alarm");
  return Halvane_Common_Constants::kScadaSystemSlots;
}

}  // namespace Halvane_Common_Procedures
