// The base of tests that work on files of their own: a fresh folder, and no
// injected failure left over from another test, before and after.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "tests/support/temp_dir.h"

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { fault_injection::ClearFailures(); }
    void TearDown() override { fault_injection::ClearFailures(); }

    // A file `name` in the test's folder holding `bytes`.
    CString MakeFile(const std::string& name, const std::vector<unsigned char>& bytes) {
        WriteAll(dir.path() / name, bytes);
        return dir.Child(name);
    }

    TempDir dir;
};
