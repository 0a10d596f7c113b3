#include "core/default_messages.h"

namespace grimsweep {

// The English texts, registered in this order at start-up. Texts are used exactly as written, brand
// placeholders included; a language loaded later replaces them key by key.
const std::vector<DefaultMessage>& DefaultMessages() {
    static const std::vector<DefaultMessage> messages = {
        {"MSG_THANK1", "Thank you for using [ProgramName]!"},
        {"MSG_THANK2", "Because this is the first time you have used [ProgramName] we recommend running Live "
                       "Update now to download the most recent adware and spyware definitions."},
        {"MSG_THANK3", "Would you like to run Live Update now?"},
        {"MSG_THANK4", "Update Now?"},
        {"MSG_MISSING", "Definition files are missing or they have been corrupted. Please run Live Update."},
        {"MSG_PAUSED", "[ProgramName] has been paused.  Click OK to resume."},
        {"MSG_SURE", "Are you sure?"},
        {"MSG_EXCLUDE1", "No exclusion file exists yet."},
        {"MSG_EXCLUDE2", "No Exclusion File"},
        {"MSG_INTERNET", "Definitions could not be downloaded. Please check your internet connection."},
        {"MSG_ANON1", "By sending anonymous data you can help us identify new spyware more quickly."},
        {"MSG_ANON2", "No personal information is collected, the only information sent is executable names "
                      "that are currently loaded into memory."},
        {"MSG_ANON3", "Do you really want to turn off anonymous data collection?"},
        {"MSG_ANON4", "Really turn off anonymous data collection?"},
        {"MSG_SORRY", "Sorry, there are no entries to be excluded."},
        {"MSG_SORRY2", "Sorry, there are no entries to be deleted."},
        {"MSG_EXC_SURE1", "Are you sure you want to exclude the selected files?"},
        {"MSG_EXC_SURE2", "Excluded files will not show up as Adware/Spyware on future scans."},
        {"MSG_EXC_SURE3", "You can edit the list of excluded files through the Quarantine menu."},
        {"MSG_EXC_SURE4", "Really Exclude?"},
        {"MSG_DATE", "Please select the date that you want to scan."},
        {"MSG_STOP", "Are you sure you want to stop the scan?"},
        {"MSG_SELECTED",
         "No entries are selected.  You must check the box next to at least one item in the list."},
        {"MSG_CONFIRM1", "Are you sure you want to delete the selected files?"},
        {"MSG_CONFIRM2",
         "Deleted files will be backed up in the following folder in case you need to recover them:"},
        {"MSG_CONFIRM3", "In addition, a System Restore Point will be created using Windows System Restore, "
                         "accessible through:"},
        {"MSG_CONFIRM4", "Start > Programs > Accessories > System Tools > System Restore"},
        {"MSG_ERROR_STOPPED", "could not be stopped.  You should try again after saving your work and "
                              "closing any open applications."},
        {"MSG_FOUND1", "[ProgramName] has found ["},
        {"MSG_FOUND2", "] using you system memory. Click YES to stop ["},
        {"MSG_FOUND3", "] from using your system memory. Otherwise click No."},
        {"MSG_CLOSING", "Closing [ProgramName] may leave your system vulnerable to malicious programs. Are "
                        "you sure you want to exit?"},
        {"MSG_REALLY", "Really Delete?"},
        {"MSG_REMOVING", "Removing : 0% Completed."},
        {"MSG_REMOVING2", "Removing"},
        {"MSG_COMPLETED", "Completed."},
        {"MSG_MISSINGFILES", "Files Missing, Run Live Update"},
        {"MSG_NOCOMPANY", "No Company name available for"},
        {"MSG_DOWNLOADING", "Connecting to server/downloading....."},
        {"MSG_CONNECTING", "Connecting to server....."},
        {"MSG_CHECKING", "Checking for Definitions....."},
        {"MSG_CONNECTING2", "Connecting to the Server."},
        {"MSG_SENDING", "Sending and receiving data, please wait."},
        {"MSG_SENT", "Successfully sent the request."},
        {"MSG_RECEIVING", "Receiving a response from the Server."},
        {"MSG_SCAN_CANCELLED", "Scanning was cancelled."},
        {"MSG_SCAN_COMPLETED", "Scanning complete."},
        {"MSG_RESULTS", "Results:"},
        {"MSG_RESULTS_THANK", "submitted.  Thank you!"},
        {"MSG_PROBLEM", "There was a problem submitting"},
        {"MSG_PROBLEM2", "Please make sure you are connected to the internet, or try again later."},
        {"MSG_UPDATED_DEFS", "Your [ProgramName] definitions have been updated!"},
        {"MSG_RECENT_DEFS", "You are using the most recent [ProgramName] definitions."},
        {"MSG_UPDATE_UNREACHABLE", "Live Update could not reach the [ProgramName] definition service. Your "
                                   "definitions were not changed."},
        {"MSG_UPDATE_FAILED", "Live Update could not download the new [ProgramName] definitions whole. Your "
                              "definitions were not changed; please try again later."},
        {"MSG_ADMIN_ASK",
         "Some items could not be removed with the rights of this user account. Do you want to "
         "remove them as administrator? Windows will ask for an administrator's permission."},
        {"MSG_ADMIN_DECLINED", "needs an administrator's rights, which were not given; not removed"},
        {"MSG_ADMIN_FAILED", "the removal as administrator could not start; not removed"},
        {"MSG_ADMIN_RUN",
         "[ProgramName] is set to start when anyone logs on to this computer, which only an "
         "administrator can change. Do you want to change it as administrator? Windows will ask "
         "for an administrator's permission."},
        {"MSG_ADMIN_RUN_STAYS", "[ProgramName] still starts when anyone logs on to this computer: only an "
                                "administrator can change that."},
        {"MSG_LANGUAGE_NOT_SAVED", "The downloaded language file could not be saved in your data folder. The "
                                   "languages in use were not changed."},
        {"MSG_UPDATE_UNVERIFIED",
         "Live Update could not verify the new [ProgramName] definitions: they were not "
         "signed by the [ProgramName] definition service. Nothing was changed."},
        {"MSG_UPDATE_NOT_SAVED",
         "Live Update could not save the new [ProgramName] definitions: a definition file "
         "could not be replaced. Your definitions were not changed."},
        {"MSG_WEBSITE", "Visit [Website]"},
        {"MSG_CAPTION", "[ProgramName] by [Company]"},
        {"MSG_CAPTION2", "Welcome to [ProgramName]"},
        {"MSG_COOKIES", "Inspecting Cookies"},
        {"MSG_COOKIES_FINISHED", "Finished Inpecting Cookies"},
        {"MSG_MEMORY", "Inspecting memory"},
        {"MSG_NOTSELECED", "Not Selected"},
        {"MSG_REGISTRY", "Scanning registry"},
        {"MSG_SPYWARE", "Scanning known Spyware/Adware"},
        {"MSG_INFORMATION", "Gathering information..."},
        {"MSG_RESTOREPOINT", "Creating Restore Point..."},
        {"MSG_COMPLETE", "complete"},
        {"MSG_MEMORY_NOT_STOPPED",
         "Detected in the memory : [FileName] could not be stopped and is still running."},
        // The language window's caption and its download confirmation.
        {"MSG_TITLELANGUAGE", "Language Selection"},
        {"MSG_DOWNLOADED", "The latest language file has been downloaded."},
        // Window captions and texts that the program sets as it runs.
        {"MSG_DELETE_FAILED", "Delete Failed"},
        {"MSG_ABOUT", "About [ProgramName]"},
        {"MSG_VERSION", "Version"},
        {"MSG_LAST_UPDATE", "Signatures Last Updated On"},
        {"MSG_SIGNATURES_UPDATED", "All [ProgramName] signatures have been updated automatically.  You are "
                                   "now protected from new malicious applications."},
        {"MSG_DEFS_CONNECTING", "Connecting to the definition server, please wait."},
        {"MSG_DOWNLOADED_BYTES", "Downloaded [Bytes] bytes."},
        {"MSG_APPLYING", "Applying new updates..."},
        {"MSG_REMOVING_OUTDATED", "Removing outdated definitions: checking entry [Entry]"},
        {"MSG_RESTORE_TITLE", "Restore from Quarantine"},
        {"MSG_RESTORE_NOTHING", "Tick the items to restore first."},
        {"MSG_RESTORE_BUSY", "Restore can run once the scan or removal has finished."},
        {"MSG_RESTORE_REPLACE", "is there already. Replace it with the copy from the quarantine?"},
        {"MSG_RESTORED", "Restored:"},
        {"MSG_NOT_RESTORED", "Not restored:"},
        {"MSG_RESTORE_KEPT", "[Count] entries already there were kept"},
        {"MSG_RESTORE_NO_BACKUP", "its backup is no longer in the quarantine"},
        {"MSG_RESTORE_THERE", "something is already there and was not replaced"},
        {"MSG_RESTORE_COPY", "the copy could not be made"},
        {"MSG_RESTORE_IMPORT", "the registry backup could not be imported"},
        {"MSG_RESTORE_LOG", "the quarantine log cannot be written"},
        {"MSG_RESTORE_ORIGIN", "its original location is not known"},
        {"MSG_RESTORE_NAME", "its record does not name a backup inside the quarantine folder"},
        {"MSG_KIND_FILE", "file"},
        {"MSG_KIND_FOLDER", "folder"},
        {"MSG_KIND_COOKIE", "cookie"},
        {"MSG_KIND_VALUE", "registry value"},
        {"MSG_KIND_KEY", "registry key"},
        {"MSG_STATUS_TITLE", "[ProgramName] Status"},
        {"MSG_NEVER", "Never"},
        {"MSG_DAY_MONDAY", "Monday"},
        {"MSG_DAY_TUESDAY", "Tuesday"},
        {"MSG_DAY_WEDNESDAY", "Wednesday"},
        {"MSG_DAY_THURSDAY", "Thursday"},
        {"MSG_DAY_FRIDAY", "Friday"},
        {"MSG_DAY_SATURDAY", "Saturday"},
        {"MSG_DAY_SUNDAY", "Sunday"},
        {"MSG_DAY_DAILY", "Daily"},
        {"MSG_DAY_DATETIME", "Date & Time"},
        {"MSG_LOADING", "Loading..."},
        {"MSG_LOG_TITLE", "[ProgramName] Log"},
    };
    return messages;
}

bool ContinuesSentence(std::string_view key) {
    for (const DefaultMessage& message : DefaultMessages()) {
        if (message.key == key) {
            return !message.text.empty() && message.text.front() >= 'a' && message.text.front() <= 'z';
        }
    }
    return false;
}

} // namespace grimsweep
