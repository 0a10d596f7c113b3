// The program's main window on a simulated machine with items to remove: files, folders, registry entries
// and cookies on the machine, each with its rows in the removal list and the hidden lists.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../app/main_window_fixture.h"
#include "removal/quarantine_folder.h"
#include "removal/quarantine_log.h"
#include "ui/list_icons.h"

namespace grimsweep {

class RemovalTest : public MainWindowTest {
protected:
    RemovalTest() { Open(); }

    ScanLists& Lists() { return window->ScanResults(); }
    RemovalEngine& Removal() { return window->Removal(); }

    // A file on the machine with its own threat row.
    void PlantFile(const std::string& path, const std::string& bytes, const std::string& threat) {
        sim.files.PutFile(path, bytes);
        Lists().AddRemovalRow(threat, ui::kIconFile, path, "");
        Lists().AddFileRow(path, threat);
    }
    void PlantFolder(const std::string& path, const std::string& threat) {
        sim.files.PutFile(path + "\\inner\\a.txt", "inner a");
        sim.files.PutFile(path + "\\b.dat", "bee");
        Lists().AddRemovalRow(threat, ui::kIconFolder, path, "");
        Lists().AddFileRow(path, threat);
    }
    void PlantValue(const std::string& key, const std::string& name, const std::string& threat) {
        sim.registry.PutString(RegistryRoot::CurrentUser, key, name, "data of " + name);
        Lists().AddRemovalRow(threat, ui::kIconRegistry, "HKEY_CURRENT_USER\\" + key, "");
        Lists().AddRegistryRow(RegistryRoot::CurrentUser, key, name, threat);
    }
    void PlantCookie(const std::string& path) {
        sim.files.PutFile(path, "cookie");
        Lists().AddRemovalRow("Cookie: " + path, ui::kIconCookie, path, "");
        Lists().AddCookieRow(path);
    }
    void TickAll() { Control("cmdSelectAll").Click(); }
    // Presses Delete and answers the question.
    void PressDelete(MessageBoxAnswer answer = MessageBoxAnswer::Yes) {
        host->Answer(answer);
        Control("Command4").Click();
    }

    std::string Quarantined(const std::string& name) { return QuarantineFolder(*context) + "\\" + name; }
    std::string Log() { return sim.files.Contents(QuarantineLogPath(*context)); }
    std::string Now() { return sim.system.FormatDateTimeForDisplay(sim.system.Now()); }
    std::vector<std::string> Problems() { return Removal().Problems().Entries(); }
    std::vector<std::string> Texts(std::string_view list) {
        std::vector<std::string> texts;
        for (const auto& row : Control(list).Rows()) {
            texts.push_back(row.text);
        }
        return texts;
    }
    static int Occurrences(const std::string& text, const std::string& part) {
        int count = 0;
        for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
};

} // namespace grimsweep
