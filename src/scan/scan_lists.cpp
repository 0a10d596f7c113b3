#include "scan/scan_lists.h"

#include <string>

#include "ui/form.h"
#include "ui/list_icons.h"

namespace grimsweep {

ScanLists::ScanLists(ui::Form& form)
    : found_(form.Get(kFoundList)), removal_(form.Get(kRemovalListName)),
      files_(form.Get(kFilesToDeleteList)), registry_(form.Get(kRegistryToDeleteList)),
      cookies_(form.Get(kCookiesToDeleteList)), notFound_(form.Get(kFileNotFoundList)) {}

void ScanLists::Clear() {
    for (ui::Control* list : {&found_, &removal_, &files_, &registry_, &cookies_, &notFound_}) {
        list->ClearRows();
    }
    listed_.Clear();
}

void ScanLists::AddFound(std::string text, int icon) {
    listed_.Add(text);
    ui::ListRow row;
    row.text = std::move(text);
    row.smallIcon = icon;
    found_.AddRow(std::move(row));
}

void ScanLists::AddExcluded(std::string_view what) {
    AddFound(std::string(kExcludedPrefix) + std::string(what), ui::kIconExcluded);
}

bool ScanLists::ThreatListed(std::string_view threat) const {
    return listed_.HasPrefix(std::string(threat) + std::string(kFoundSuffix));
}

void ScanLists::AddRemovalRow(std::string text, int kind, std::string location, std::string_view details) {
    ui::ListRow row;
    row.text = std::move(text);
    row.smallIcon = kind;
    row.subItems.push_back(std::move(location));
    if (!details.empty()) {
        row.subItems.emplace_back(details);
    }
    removal_.AddRow(std::move(row));
}

void ScanLists::AddFileRow(std::string path, std::string threat) {
    ui::ListRow row;
    row.text = std::move(path);
    row.subItems.push_back(std::move(threat));
    files_.AddRow(std::move(row));
}

void ScanLists::AddRegistryRow(RegistryRoot root, std::string keyPath, std::string valueName,
                               std::string threat) {
    ui::ListRow row;
    row.text = std::to_string(static_cast<std::int32_t>(root));
    row.subItems = {std::move(keyPath), std::move(valueName), std::move(threat)};
    registry_.AddRow(std::move(row));
}

void ScanLists::AddCookieRow(std::string path) {
    ui::ListRow row;
    row.text = std::move(path);
    cookies_.AddRow(std::move(row));
}

void ScanLists::BeginUpdate() {
    ++updates_;
    for (ui::Control* list : {&found_, &removal_, &files_, &registry_, &cookies_}) {
        list->BeginRowUpdate();
    }
}

void ScanLists::EndUpdate() {
    if (updates_ == 0) {
        return;
    }
    --updates_;
    for (ui::Control* list : {&found_, &removal_, &files_, &registry_, &cookies_}) {
        list->EndRowUpdate();
    }
}

void ScanLists::Flush() {
    const int open = updates_;
    for (int i = 0; i < open; ++i) {
        EndUpdate();
    }
    for (int i = 0; i < open; ++i) {
        BeginUpdate();
    }
}

} // namespace grimsweep
