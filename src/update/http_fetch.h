// The program's text fetches: a URL's whole body, read in chunks of 256
// bytes with window messages let through between them, and the same with a byte counter in a text box.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace grimsweep {

class Context;

namespace ui {
class Control;
}

inline constexpr std::size_t kFetchChunkBytes = 256;
// The most the program keeps of one answer: a broken or hostile server that sends more (or never stops)
// gets an empty result, as a failed fetch.
inline constexpr std::size_t kMaxFetchBytes = 16 * 1024 * 1024;

// The body's bytes as the server sent them (text in the system code page); nothing when the fetch failed
// (no whole 200 answer), the answer is larger than kMaxFetchBytes, or `cancelled` (may be empty) said yes.
// After every chunk but the first, `status` (may be absent) shows "Downloaded N bytes."; window messages
// run after every chunk but the first and while the answer is awaited.
std::optional<std::string> FetchUrlBody(Context& context, const std::string& url, ui::Control* status,
                                        const std::function<bool()>& cancelled = {});
// The same with a failure as the empty text.
std::string FetchUrlText(Context& context, const std::string& url);
// As FetchUrlText; after every chunk but the first, `status` shows "Downloaded N bytes.".
std::string FetchUrlTextWithProgress(Context& context, const std::string& url, ui::Control* status);

} // namespace grimsweep
