// A simulated machine whose quarantine is filled the way a removal fills it: items go in through the
// quarantine routines, so their backups, log records and index lines are the real ones.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "../definitions/definitions_fixture.h"
#include "common/text.h"
#include "removal/quarantine_folder.h"
#include "removal/quarantine_index.h"
#include "removal/quarantine_log.h"
#include "removal/quarantine_routines.h"
#include "removal/quarantine_store.h"

namespace grimsweep {

class QuarantineTest : public DefinitionsTest {
protected:
    QuarantineTest() { sim.system.SetNow({2026, 12, 8, 21, 4, 5, 2, 0}); }

    // Backs the file or folder up and deletes it, as a removal does; its item in the index.
    QuarantineItem Quarantine(const std::string& path) {
        if (sim.files.FolderExists(path)) {
            return QuarantineTree(path);
        }
        log.logging = true;
        routines.BackupAndDeletePath(path);
        store.ForgetRemoval();
        return LastItem();
    }
    // A folder's backup and index line as the folder routine makes them (the routine itself takes a folder
    // for a file, as the directory query finds the folder's own entry).
    QuarantineItem QuarantineTree(const std::string& path) {
        store.EnsureFolder();
        QuarantineItem item;
        item.kind = QuarantineKind::Folder;
        item.backupName = store.BackupFolder(path).value_or("");
        item.origin = path;
        item.when = log.Timestamp();
        EXPECT_FALSE(item.backupName.empty());
        EXPECT_TRUE(AppendQuarantineItem(context, item));
        EXPECT_TRUE(sim.files.DeleteFolder(path));
        return item;
    }
    QuarantineItem QuarantineCookie(const std::string& path) {
        log.logging = true;
        routines.BackupAndDeleteCookie(path);
        store.ForgetRemoval();
        return LastItem();
    }
    // A registry backup written by hand, as the export writes them, with its index line.
    QuarantineItem QuarantineRegistry(QuarantineKind kind, const std::string& origin,
                                      const std::string& valueName, const std::string& regText) {
        store.EnsureFolder();
        QuarantineItem item;
        item.kind = kind;
        // Named after the value, or after the key for a whole key, as the removal names them.
        const std::string name = valueName.empty() ? AfterLastBackslash(origin) : valueName;
        item.backupName = store.StoreFile(name + ".reg", regText).value_or("");
        item.origin = origin;
        item.valueName = valueName;
        item.when = "12/1/2026 9:00:00 AM";
        EXPECT_TRUE(AppendQuarantineItem(context, item));
        return item;
    }
    QuarantineItem LastItem() {
        const auto items = ReadQuarantineIndex(context);
        EXPECT_FALSE(items.empty());
        return items.empty() ? QuarantineItem{} : items.back();
    }

    std::string Backup(const QuarantineItem& item) const {
        return QuarantineFolder(context) + "\\" + item.backupName;
    }
    std::string LogText() const { return sim.files.Contents(QuarantineLogPath(context)); }
    std::string IndexText() const { return sim.files.Contents(QuarantineIndexPath(context)); }

    QuarantineStore store{context};
    QuarantineLog log{context};
    QuarantineRoutines routines{context, store, log};
};

} // namespace grimsweep
