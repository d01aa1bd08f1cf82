#pragma once

#include "PanelConfig.h"

#include <string>

namespace t2 {

// Every member of both records to its default, plus the report settings.
// Leaves SettingsFileName, DataChanged, PanelConnected, the image and
// UploadNames alone, and the spare elements listed in ResetConfiguration.
void ResetConfiguration(ProgramState& state);
void ResetConfiguration(PanelConfig& config, VantelDevices& devices);

// Number of local I/O points: 4 per unit of NodeIOCount on nodes 0..11, at most 48.
int TotalIOCount(const PanelConfig& config);

// "C:\VEL Tamberline II" on Windows; "VEL Tamberline II" in the home folder elsewhere.
std::string ProgramFolder();
std::string DocumentationFolder();
// "Backups" in the program folder: the panel's settings saved before each download.
std::string BackupsFolder();
std::string DefaultDocumentFileName();
// The report of a settings file: the file's name with ".TXT" in the
// documentation folder ("Tamberline II.txt" there while the name is "None").
std::string DefaultDocumentFileName(const std::string& settingsFileName);
std::string MaintenanceFileName();

}  // namespace t2
