#include "scan/scan_lists.h"

#include <algorithm>
#include <functional>
#include <string>

#include "common/case_folding.h"
#include "common/text.h"
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

void ScanLists::CopyCheckToPartners(std::size_t removalRow) {
    const ui::ListRow& row = removal_.Rows().at(removalRow);
    const bool checked = row.checked;
    const std::string text = row.text;
    const std::string location = row.SubItem(1);
    const bool named = !Trim(text).empty();
    const auto tick = [checked](ui::Control& list, const std::function<bool(const ui::ListRow&)>& partner) {
        for (std::size_t i = 0; i < list.Rows().size(); ++i) {
            if (list.Rows()[i].checked != checked && partner(list.Rows()[i])) {
                list.SetRowChecked(i, checked);
            }
        }
    };
    const auto byLocation = [&](const ui::ListRow& partner) { return EqualsFolded(partner.text, location); };
    const auto fileByName = [&](const ui::ListRow& partner) {
        return EqualsFolded(partner.SubItem(1), text);
    };
    const auto registryByName = [&](const ui::ListRow& partner) {
        return EqualsFolded(partner.SubItem(3), text);
    };
    switch (row.smallIcon) {
    case ui::kIconCookie:
        tick(cookies_, byLocation);
        return;
    case ui::kIconRegistry: {
        if (!named) {
            return;
        }
        // A key listed without a threat name carries its key path as its text.
        const auto byKey = [&](const ui::ListRow& partner) { return EqualsFolded(partner.SubItem(1), text); };
        const bool listedByKey = std::any_of(registry_.Rows().begin(), registry_.Rows().end(), byKey);
        tick(registry_, listedByKey ? std::function<bool(const ui::ListRow&)>(byKey) : registryByName);
        break;
    }
    case ui::kIconFile:
        tick(files_, named ? std::function<bool(const ui::ListRow&)>(fileByName) : byLocation);
        break;
    case ui::kIconFolder:
        tick(files_, byLocation);
        break;
    default:
        return;
    }
    if (!named) {
        return;
    }
    // A threat is listed once, by the first stage that met it; its traces from the other stages carry
    // its name and go with it.
    tick(files_, fileByName);
    tick(registry_, registryByName);
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
