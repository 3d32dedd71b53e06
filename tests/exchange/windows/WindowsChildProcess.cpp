// Child processes started with CreateProcessA, read through anonymous pipes. A program named
// without a folder is the one beside the test program.
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include "ChildProcess.h"

namespace {

// Quotes one argument the way the C runtime splits a command line again.
std::string quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string result = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    result += c;
  }
  result.append(backslashes * 2, '\\');
  return result + "\"";
}

std::string besideThisProgram(const std::string& program) {
  if (program.find_first_of("\\/") != std::string::npos) return program;
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + program;
}

void closeHandle(HANDLE& handle) {
  if (handle != nullptr) CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

struct ChildProcess::Process {
  HANDLE process = nullptr;
  HANDLE input = nullptr;
  HANDLE output = nullptr;

  void end() {
    if (process == nullptr) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    closeHandle(process);
  }
};

ChildProcess::ChildProcess(const std::vector<std::string>& argv, bool mergeErrors)
    : process_(std::make_unique<Process>()) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE childInput = nullptr;
  HANDLE childOutput = nullptr;
  if (!CreatePipe(&childInput, &process_->input, &inheritable, 0) ||
      !CreatePipe(&process_->output, &childOutput, &inheritable, 0)) {
    ADD_FAILURE() << "no pipes for " << argv[0];
    return;
  }
  SetHandleInformation(process_->input, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(process_->output, HANDLE_FLAG_INHERIT, 0);
  std::string commandLine = quoted(besideThisProgram(argv[0]));
  for (size_t i = 1; i < argv.size(); ++i)
    commandLine += " " + quoted(argv[i]);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  startup.hStdOutput = childOutput;
  startup.hStdError = mergeErrors ? childOutput : GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &started)) {
    process_->process = started.hProcess;
    CloseHandle(started.hThread);
  } else {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
  }
  CloseHandle(childInput);
  CloseHandle(childOutput);
}

ChildProcess::~ChildProcess() {
  kill();
  closeHandle(process_->input);
  closeHandle(process_->output);
}

bool ChildProcess::readSome(std::string& into, int timeoutSeconds, bool& timedOut) {
  timedOut = false;
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds) * 1000;
  DWORD available = 0;
  while (PeekNamedPipe(process_->output, nullptr, 0, nullptr, &available, nullptr) &&
         available == 0) {
    if (GetTickCount64() >= deadline) {
      timedOut = true;
      return false;
    }
    Sleep(5);
  }
  if (available == 0) return false;  // the pipe broke: the child's output has ended
  char chunk[65536];
  DWORD length = 0;
  if (!ReadFile(process_->output, chunk, sizeof chunk < available ? sizeof chunk : available,
                &length, nullptr) ||
      length == 0) {
    return false;
  }
  // Read in text mode, as the child wrote it: CR LF is a line end.
  const size_t from = into.empty() ? 0 : into.size() - 1;
  into.append(chunk, length);
  for (size_t at = into.find("\r\n", from); at != std::string::npos; at = into.find("\r\n", at))
    into.erase(at, 1);
  return true;
}

void ChildProcess::resume() {
  DWORD written = 0;
  if (!WriteFile(process_->input, "\n", 1, &written, nullptr) || written != 1) {
    ADD_FAILURE() << "a child does not listen";
  }
}

void ChildProcess::kill() {
  process_->end();
}

// A console program has no gentler ending that another process can ask for.
void ChildProcess::stop() {
  process_->end();
}

int ChildProcess::finish(int timeoutSeconds) {
  closeHandle(process_->input);
  if (process_->process != nullptr &&
      WaitForSingleObject(process_->process, static_cast<DWORD>(timeoutSeconds) * 1000) ==
          WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process_->process, &code);
    closeHandle(process_->process);
    return static_cast<int>(code);
  }
  ADD_FAILURE() << "a child did not end in time";
  kill();
  return -1;
}
