// The anonymous data sent to the collection service: the names of the running programs (after a clean
// scan and after a removal, when the user allows it) and one file name the user submits by hand on the
// options page. Names travel scrambled with the definition line code, never in plain text.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace grimsweep {

class Context;

namespace ui {
class Form;
class Control;
} // namespace ui

// The collection page and its query key; the payload (submission_payload.h) follows percent-encoded.
inline constexpr std::string_view kCollectionQuery = "/asp/getData.asp?data=";
// System and browser processes that are never sent (exact, case-sensitive names).
inline constexpr std::array<std::string_view, 8> kProcessesNeverSent = {
    "System",      "System Idle Process", "winlogon.exe", "services.exe",
    "svchost.exe", "explorer.exe",        "firefox.exe",  "iexplore.exe"};

// The controls of the manual submission on the options page, and the opt-out check box.
inline constexpr std::string_view kSubmitNameBox = "txtFilename";
inline constexpr std::string_view kBrowseCommand = "Command2";
inline constexpr std::string_view kSubmitCommand = "cmdSubmit";
inline constexpr std::string_view kSubmitResultLabel = "Label26";
inline constexpr std::string_view kSendDataBox = "chkSendData";

inline constexpr std::string_view kMsgResults = "MSG_RESULTS";
inline constexpr std::string_view kMsgResultsThank = "MSG_RESULTS_THANK";
inline constexpr std::string_view kMsgProblem = "MSG_PROBLEM";
inline constexpr std::string_view kMsgProblem2 = "MSG_PROBLEM2";
inline constexpr std::string_view kMsgAnon1 = "MSG_ANON1";
inline constexpr std::string_view kMsgAnon2 = "MSG_ANON2";
inline constexpr std::string_view kMsgAnon3 = "MSG_ANON3";
inline constexpr std::string_view kMsgAnon4 = "MSG_ANON4";

// One name (UTF-8) in the system code page, scrambled with the definition line code.
std::string ScrambleName(Context& context, std::string_view name);
// The payload of the running processes that may be sent: their scrambled names, escaped and joined by
// "|"; empty when the query fails or nothing is left.
std::string BuildProcessList(Context& context);
// The collection request for a payload: the service address, the page and the payload percent-encoded.
std::string CollectionUrl(Context& context, std::string_view payload);
// Whether the collection service's answer says it took the name ("Skipped" or "Added", any case).
bool SubmissionAccepted(std::string_view answer);

class DataSubmission {
public:
    // The main window must hold the manual submission's controls and chkSendData.
    DataSubmission(Context& context, ui::Form& mainWindow);

    // Sends the process list; nothing is sent when it is empty, and the answer is ignored.
    void SendProcessList();
    // Sends the text of txtFilename, shows the outcome in Label26 and clears the box.
    void SubmitFileName();
    // Browse: the system's file-open dialog; the chosen path's last component goes into txtFilename, and
    // a cancel leaves it as it was.
    void BrowseForFile();
    // The chkSendData handler: turning it off asks first; No ticks it again. Stores the key.
    void OnSendDataChanged();
    // Whether the user allows sending the process list (chkSendData ticked).
    bool Allowed();

private:
    ui::Control& Control(std::string_view name);

    Context& context_;
    ui::Form& form_;
};

} // namespace grimsweep
