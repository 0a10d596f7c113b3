#include "platform/win32/win32_restore_points.h"

#include "platform/win32/windows_api.h"

#include <srrestoreptapi.h>

#include "platform/win32/wide_text.h"

namespace grimsweep::win32 {

namespace {
using SetRestorePointFunction = BOOL(WINAPI*)(PRESTOREPOINTINFOW, PSTATEMGRSTATUS);
} // namespace

std::wstring RestorePointDescription(const std::string& description) {
    std::wstring text = Widen(description);
    if (text.size() > MAX_DESC - 1) {
        text.resize(MAX_DESC - 1);
        if (text.back() >= 0xD800 && text.back() <= 0xDBFF) {
            text.pop_back(); // the first half of a surrogate pair whose second half was cut off
        }
    }
    return text;
}

RestorePointResult Win32RestorePoints::Call(std::uint32_t eventType, std::uint32_t restorePointType,
                                            std::int64_t sequence, const std::string& description) {
    RestorePointResult result;
    HMODULE library = LoadLibraryW(L"srclient.dll");
    if (!library) {
        return result;
    }
    auto setRestorePoint = reinterpret_cast<SetRestorePointFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SRSetRestorePointW")));
    if (setRestorePoint) {
        RESTOREPOINTINFOW info = {};
        info.dwEventType = eventType;
        info.dwRestorePtType = restorePointType;
        info.llSequenceNumber = sequence;
        const std::wstring text = RestorePointDescription(description);
        wcsncpy(info.szDescription, text.c_str(), MAX_DESC_W - 1);
        STATEMGRSTATUS status = {};
        result.accepted = setRestorePoint(&info, &status) != FALSE;
        result.sequenceNumber = status.llSequenceNumber;
        result.status = status.nStatus;
    }
    FreeLibrary(library);
    return result;
}

RestorePointResult Win32RestorePoints::Begin(const std::string& description, std::uint32_t restorePointType) {
    return Call(BEGIN_SYSTEM_CHANGE, restorePointType, 0, description);
}

RestorePointResult Win32RestorePoints::End(std::int64_t sequenceNumber) {
    return Call(END_SYSTEM_CHANGE, 0, sequenceNumber, "");
}

} // namespace grimsweep::win32
