// HTTP GET through WinINet: direct connection, always from the server.
#pragma once

#include "platform/http.h"

namespace grimsweep::win32 {

class Win32Http : public IHttp {
public:
    std::optional<std::string> Get(const std::string& url, std::size_t chunkSize,
                                   const std::function<bool(std::size_t)>& onChunk) override;
};

} // namespace grimsweep::win32
