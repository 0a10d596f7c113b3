#include "platform/win32/win32_http.h"

#include "platform/win32/windows_api.h"

#include <wininet.h>

#include <vector>

namespace grimsweep::win32 {

std::optional<std::string> Win32Http::Get(const std::string& url, std::size_t chunkSize,
                                          const std::function<bool(std::size_t)>& onChunk) {
    HINTERNET root = InternetOpenA("Mozilla", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!root) {
        return std::nullopt;
    }
    // The address goes as it stands, bytes of the system code page, as the data submission scrambles them.
    HINTERNET page = InternetOpenUrlA(root, url.c_str(), nullptr, 0,
                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
    if (!page) {
        InternetCloseHandle(root);
        return std::nullopt;
    }
    std::optional<std::string> body(std::in_place);
    std::vector<char> buffer(chunkSize > 0 ? chunkSize : 256);
    while (true) {
        DWORD read = 0;
        if (!InternetReadFile(page, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
            body.reset(); // a body cut short is a failed fetch
            break;
        }
        if (read == 0) {
            break;
        }
        body->append(buffer.data(), read);
        if (onChunk && !onChunk(body->size())) {
            break;
        }
    }
    InternetCloseHandle(page);
    InternetCloseHandle(root);
    return body;
}

} // namespace grimsweep::win32
