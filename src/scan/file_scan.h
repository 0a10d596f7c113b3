// The file and folder stages of a scan: every record of FileDefinition.dat and DirectoryDefinition.dat
// names one path; the stages test that path alone (they never walk the disks) and list what is present,
// neither safe nor excluded, and for files not made by Microsoft.
#pragma once

namespace grimsweep {

struct ScanRun;

// Runs the file stage over FileDefinition.dat in the data folder; nothing when the file is missing.
void ScanFiles(ScanRun& run);
// Runs the folder stage over DirectoryDefinition.dat in the data folder; nothing when it is missing.
void ScanFolders(ScanRun& run);

} // namespace grimsweep
