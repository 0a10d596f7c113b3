#include "definitions/exclusion_list.h"

#include <algorithm>
#include <functional>

#include "common/case_folding.h"
#include "common/text.h"
#include "core/context.h"
#include "definitions/definition_status.h"
#include "platform/text_files.h"

namespace grimsweep {

namespace {
constexpr std::string_view kPieceSeparator = "|";
} // namespace

void ExclusionList::Assign(std::string form) {
    form_ = std::move(form);
    // Folding the whole form folds each piece alone: no UTF-8 sequence spans the ASCII separator.
    foldedForm_ = FoldCase(form_);
    foldedPieces_.clear();
    for (auto& piece : Split(foldedForm_, kPieceSeparator)) {
        foldedPieces_.insert(std::move(piece));
    }
}

bool ExclusionList::IsExcluded(std::string_view name) const {
    if (foldedPieces_.empty()) {
        return false;
    }
    const std::string folded = FoldCase(name);
    return foldedPieces_.count(folded) != 0 || foldedPieces_.count(Trim(folded)) != 0;
}

bool ExclusionList::IsExcludedFolder(std::string_view name) const {
    if (foldedPieces_.empty()) {
        return false;
    }
    if (IsExcluded(name)) {
        return true;
    }
    // A name without "|" occurs inside some piece exactly when it occurs in the joined form, since no
    // occurrence can span a separator.
    if (name.find('|') != std::string_view::npos) {
        return false;
    }
    const std::string needle = FoldCase(name);
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    return std::search(foldedForm_.begin(), foldedForm_.end(), searcher) != foldedForm_.end();
}

void LoadExclusions(Context& context, ExclusionList& exclusions) {
    std::string form;
    const std::string path = context.DataFile(kExclusionFile);
    if (FileExists(context.machine.files, path)) {
        if (auto lines = ReadTextLines(context.machine.files, context.machine.system, path)) {
            for (const auto& line : *lines) {
                if (!Trim(line).empty()) {
                    form += line;
                    form += kPieceSeparator;
                }
                context.host.PumpMessages();
            }
        }
    }
    exclusions.Assign(std::move(form));
}

bool AppendExclusion(Context& context, ExclusionList& exclusions, std::string_view entry) {
    const bool appended = AppendTextLine(context.machine.files, context.machine.system,
                                         context.DataFile(kExclusionFile), Trim(entry));
    LoadExclusions(context, exclusions);
    return appended;
}

} // namespace grimsweep
