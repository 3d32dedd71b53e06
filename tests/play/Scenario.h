// A scenario and what fauxlarm-play makes of it, the same bytes on every platform: quotes, a
// comma, characters outside Windows-1252, a message, default columns, a row that names its
// system, and an empty date stamped when sent.
#pragma once

#include <string>
#include <vector>

inline const std::string kScenario =
    "at,type,tag,name,description,date,time,system\r\n"
    "0,active,P-1,Pump,\"Pump 3, hall B\",2015-05-05,12:55:54,\r\n"
    "0.01,Inactive,P-1,Pump,\"\"\"Quoted\"\" \xC3\xB6l \xE2\x82\xAC "
    "\xD0\x96\",2015-05-05,12:55:55,5\r\n"
    "00:00:00.020,3,,Duty Operator,Hi there,2015-05-05,12:55:56,\r\n";

// Its lines in the generic file.
inline const std::string kLines =
    "1|2015-05-05|12:55:54|P-1|A5|2|Pump|Pump 3, hall B|ACTIVE\r\n"
    "0|2015-05-05|12:55:55|P-1|A5|2|Pump|\"Quoted\" \xF6l \x80 ?|ACTIVE\r\n"
    "3|2015-05-05|12:55:56||||Duty Operator|Hi there|\r\n";

// Its commands in command queue 0 with --system=VISTA.
inline const std::vector<std::string> kQueueCommands = {
    "TA:1|2015-05-05|12:55:54|P-1|A5|2|Pump|Pump 3, hall B|ACTIVE|5",
    "TA:0|2015-05-05|12:55:55|P-1|A5|2|Pump|\"Quoted\" \xF6l \x80 ?|ACTIVE|5",
    "FT:Duty Operator\xFEHi there"};
