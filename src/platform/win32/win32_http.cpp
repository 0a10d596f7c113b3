#include "platform/win32/win32_http.h"

#include "platform/win32/windows_api.h"

#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace grimsweep::win32 {

namespace {

constexpr DWORD kStatusOk = 200;

// Closes a WinINet handle when it goes out of scope.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) {
            InternetCloseHandle(handle_);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle_; }

private:
    HINTERNET handle_;
};

// One fetch, shared by the thread that reads it and the caller that waits for it. The caller may give up
// on it (the whole-answer limit passed, or it has read enough); the reading thread then ends on its own
// and nobody looks at what it read.
struct Transfer {
    std::mutex mutex;
    std::condition_variable changed;
    std::string body;
    bool finished = false;
    bool failed = false;
    bool abandoned = false;
};

void SetLimit(HINTERNET handle, DWORD option, DWORD milliseconds) {
    InternetSetOptionA(handle, option, &milliseconds, sizeof milliseconds);
}

std::optional<DWORD> NumberHeader(HINTERNET page, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!HttpQueryInfoA(page, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) {
        return std::nullopt;
    }
    return value;
}

// Reads the answer into the transfer; true when it is a whole 200 answer.
bool Read(Transfer& transfer, const std::string& url, std::size_t chunkSize, const HttpLimits& limits) {
    InternetHandle root(InternetOpenA("Mozilla", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!root.Get()) {
        return false;
    }
    SetLimit(root.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectMilliseconds);
    SetLimit(root.Get(), INTERNET_OPTION_SEND_TIMEOUT, limits.receiveMilliseconds);
    SetLimit(root.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits.receiveMilliseconds);
    // The address goes as it stands, bytes of the system code page, as the data submission scrambles them.
    InternetHandle page(InternetOpenUrlA(root.Get(), url.c_str(), nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0));
    // Only a whole 200 answer counts: an error page is not the body that was asked for.
    if (!page.Get() || NumberHeader(page.Get(), HTTP_QUERY_STATUS_CODE) != kStatusOk) {
        return false;
    }
    const std::optional<DWORD> declared = NumberHeader(page.Get(), HTTP_QUERY_CONTENT_LENGTH);
    std::vector<char> buffer(chunkSize > 0 ? chunkSize : 256);
    std::size_t received = 0;
    while (true) {
        // Waits for some of the answer, then reads only what is there, so that the caller hears of every
        // piece of a trickling answer as it comes.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(page.Get(), &available, 0, 0)) {
            return false;
        }
        if (available == 0) {
            break;
        }
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(available, buffer.size()));
        if (!InternetReadFile(page.Get(), buffer.data(), wanted, &read)) {
            return false; // a body cut short is a failed fetch
        }
        if (read == 0) {
            break;
        }
        received += read;
        std::lock_guard lock(transfer.mutex);
        if (transfer.abandoned) {
            return false;
        }
        transfer.body.append(buffer.data(), read);
        transfer.changed.notify_all();
    }
    // An answer that ends before the length it announced was cut off.
    return !declared || received >= *declared;
}

} // namespace

std::optional<std::string> Win32Http::Get(const std::string& url, std::size_t chunkSize,
                                          const std::function<bool(std::size_t)>& onChunk) {
    // The answer is read on a thread of its own: a server that accepts and then stays silent or trickles
    // can keep a WinINet call waiting far beyond its receive limit, and the whole-answer limit must hold
    // whatever the server does.
    auto transfer = std::make_shared<Transfer>();
    std::thread([transfer, url, chunkSize, limits = limits_] {
        const bool whole = Read(*transfer, url, chunkSize, limits);
        std::lock_guard lock(transfer->mutex);
        transfer->failed = !whole;
        transfer->finished = true;
        transfer->changed.notify_all();
    }).detach();

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(limits_.answerMilliseconds);
    std::size_t reported = 0;
    std::unique_lock lock(transfer->mutex);
    while (true) {
        const auto tick = std::min(deadline, std::chrono::steady_clock::now() +
                                                 std::chrono::milliseconds(kHttpWaitTickMilliseconds));
        const bool news = transfer->changed.wait_until(
            lock, tick, [&] { return transfer->finished || transfer->body.size() != reported; });
        if (!news && std::chrono::steady_clock::now() >= deadline) {
            transfer->abandoned = true; // silent or trickling beyond the limit
            return std::nullopt;
        }
        if (!news) {
            // Nothing yet: the caller hears so, and may give up.
            if (onChunk) {
                lock.unlock();
                const bool more = onChunk(reported);
                lock.lock();
                if (!more) {
                    transfer->abandoned = true;
                    return transfer->body.substr(0, reported);
                }
            }
            continue;
        }
        if (transfer->body.size() != reported) {
            reported = transfer->body.size();
            if (onChunk) {
                lock.unlock();
                const bool more = onChunk(reported);
                lock.lock();
                if (!more) {
                    transfer->abandoned = true; // the caller has enough: the body so far is the answer
                    return transfer->body.substr(0, reported);
                }
            }
            continue;
        }
        if (transfer->failed) {
            return std::nullopt;
        }
        return transfer->body;
    }
}

} // namespace grimsweep::win32
