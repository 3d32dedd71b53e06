// fauxlarm-play run as a real process (through the shared program runner), and a TCP client
// on loopback to receive what it sends.
#pragma once

#include <string>
#include <vector>

#include "ProgramRun.h"

using Halvane_Config::ProgramRun;
using Halvane_Config::RunningProgram;

// fauxlarm-play with these arguments, run to its end.
ProgramRun RunPlay(const std::vector<std::string>& arguments, const std::string& input = {});
// Waits up to five seconds for the program's standard error to name the port it listens
// on; 0 if it does not.
int ListeningPort(const RunningProgram& program);
// A connection to the port on loopback; -1 when none could be made.
int ConnectTo(int port);
// Connects to the port on loopback and reads until the peer closes.
std::string ReadAllFrom(int port);
