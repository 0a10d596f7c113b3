#include <mutex>

#include "common/percent_encoding.h"
#include "common/text.h"
#include "main/definition_server.h"
#include "report/submission_payload.h"

namespace grimsweep {

namespace {

// Whether every query value of `target` percent-decodes and a collection payload splits back into
// names; the pages are answered only then.
bool QueryReadable(std::string_view target) {
    const std::size_t question = target.find('?');
    if (question == std::string_view::npos) {
        return true;
    }
    const bool collection = EqualsIgnoreCase(target.substr(0, question), kDataPage);
    for (const std::string& pair : Split(target.substr(question + 1), "&")) {
        const std::size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const auto value = PercentDecode(std::string_view(pair).substr(equals + 1));
        if (!value) {
            return false;
        }
        if (collection && EqualsIgnoreCase(pair.substr(0, equals), "data") &&
            !SplitSubmissionPayload(*value)) {
            return false;
        }
    }
    return true;
}

// The most answers kept: the queries are the clients' own, so their number has a bound.
constexpr std::size_t kCachedAnswers = 4096;

} // namespace

PageAnswer AnswerCache::Answer(std::string_view target) {
    if (!folder_.version || EqualsIgnoreCase(target.substr(0, target.find('?')), kDataPage)) {
        return AnswerRequest(folder_, target);
    }
    const std::string version = folder_.version();
    {
        const std::shared_lock<std::shared_mutex> lock(mutex_);
        if (version == version_) {
            if (const auto kept = answers_.find(target); kept != answers_.end()) {
                return kept->second;
            }
        }
    }
    PageAnswer answer = AnswerRequest(folder_, target);
    const std::unique_lock<std::shared_mutex> lock(mutex_);
    if (version != version_ || answers_.size() >= kCachedAnswers) {
        answers_.clear();
        version_ = version;
    }
    answers_.emplace(std::string(target), answer);
    return answer;
}

PageAnswer AnswerRequest(const ServiceFolder& folder, std::string_view target) {
    if (!QueryReadable(target)) {
        return {400, "Bad request\n"};
    }
    return AnswerPage(folder, target);
}

} // namespace grimsweep
