// A test process with its own namespace and the library loaded into it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "LoadedLibrary.h"
#include "TestNamespace.h"

class ExchangeFixture : public ::testing::Test {
 protected:
  // Declared in this order: the namespace must be set before the library attaches.
  TestNamespace names;
  LoadedLibrary h3;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
