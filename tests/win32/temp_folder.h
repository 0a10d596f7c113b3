// A fresh folder under the prefix's temporary folder for one test, removed again afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/windows_api.h"

namespace grimsweep::win32 {

class TempFolderTest : public ::testing::Test {
protected:
    explicit TempFolderTest(std::string name) : name_(std::move(name)) {}

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = Narrow(temp) + name_;
        files.DeleteFolder(folder);
        ASSERT_TRUE(files.CreateFolder(folder));
    }
    void TearDown() override { files.DeleteFolder(folder); }

    std::string folder;
    Win32FileSystem files;

private:
    std::string name_;
};

} // namespace grimsweep::win32
