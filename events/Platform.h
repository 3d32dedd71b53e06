// What the shared event code needs from the platform it runs on, implemented once per
// platform in its own folder (posix/Platform.cpp): loading a dynamic library and binding a
// function of it, whether a file or folder is there, and appending to a file
// (AppendToFile, declared in EventLine.h). Paths are UTF-8.
#pragma once

#include <string>

namespace FauxlarmEvents::platform {

// A library loaded by path, or by bare file name from where the system's loader looks;
// null with the loader's reason in error when it cannot be loaded.
void* LoadLibraryFile(const std::string& path, std::string* error);
// The function of that name, or null.
void* FindFunction(void* library, const char* name);
void UnloadLibrary(void* library);
// The loader's reason says the file was simply not there.
bool IsNotFound(const std::string& loaderError);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

}  // namespace FauxlarmEvents::platform
