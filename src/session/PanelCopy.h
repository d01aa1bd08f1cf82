// The panel's settings taken into memory, apart from the program's own
// configuration: what "Compare With Tamberline II" lists, what the backup
// before a download saves, and what a backup from the command line writes.
//
//     t2::PanelCopy copy;    // large: keep it on the heap
//     if (session.UploadIntoMemory(state.Config, state.Devices, copy, observer).end == t2::TransferEnd::Complete) {
//         std::string error;
//         const std::string path = t2::SaveBackupInFolder(copy, t2::BackupsFolder(), &error);
//         // ".../Backups/MAIN STREET 2026-12-10 143005.TMB", or "" and error says why
//         for (const t2::ReportDifference& d : t2::DownloadChanges(state.Config, state.Devices, copy.image, true))
//             ...;   // d.a what the panel holds now, d.b what it holds after a download
//     }
//
// Reading the panel (PanelSession::UploadIntoMemory) leaves the program's
// configuration, image and DataChanged alone and writes nothing to the panel.
#pragma once

#include "ReportDiff.h"

#include "PanelConfig.h"

#include <QDateTime>

#include <string>
#include <vector>

namespace t2 {

struct PanelCopy {
    PanelImage image{};     // cells 0x0000..0x5FFF as the panel sent them
    PanelConfig config;     // the image applied onto a base configuration, every name taken
    VantelDevices devices;
    QDateTime readAt;       // when the reading ended
};

// copy.config and copy.devices: the base with copy.image applied, names
// included. Members the image does not carry (the connection settings, the
// add-on module type) are the base's, so that a backup opened again reaches
// the same panel.
void ApplyPanelCopy(const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy);

// What a download of the host configuration would change in a panel whose
// memory is panelImage, in the report's words: each difference's a is what
// the panel holds now, b what it holds after the download (names cut to the
// ten characters the panel keeps). Names are compared only with
// includeNames. Settings the report does not show (the clock source, the
// settings of relays beyond the I/O count) are listed by member name in
// "[Other Settings]" when they are the only differences, so that an empty
// list always means the panel already holds the configuration.
//
// With HostNamesWhole the names of b are the host's as they are, and names
// are compared as the panel holds them (PanelNames.h): padding is no
// difference, a name the panel keeps only cut is one (what diff --as-panel
// shows for a site file and its upload). The list then tells whether the
// panel holds the configuration whole, not whether a download changes it.
enum NameComparison { NamesAsDownloaded, HostNamesWhole };
std::vector<ReportDifference> DownloadChanges(const PanelConfig& host, const VantelDevices& hostDevices,
                                              const PanelImage& panelImage, bool includeNames,
                                              NameComparison names = NamesAsDownloaded);

// "MAIN STREET 2026-12-10 143005.TMB": the panel name (trailing spaces cut,
// the default panel name when it is empty) and the moment. Characters a file
// name cannot hold ("/", "\", ":", "*", "?", quotes, "<", ">", "|", control
// characters) become "_". UTF-8, for the file system.
std::string BackupFileName(const Bytes& panelName, const QDateTime& moment);

// Saves the copy's configuration as a settings file in folder (created when
// missing), named by BackupFileName; an existing file is never replaced (the
// name gets " (2)", " (3)", ...). Saved whole or not at all. Returns the path
// written, or "" with *error saying why.
std::string SaveBackupInFolder(const PanelCopy& copy, const std::string& folder, std::string* error);
// Saves a configuration as the file fileName (ending in ".TMB") in folder in
// the same way: the folder created when missing, an existing file never
// replaced, the path written returned ("" with *error saying why).
std::string SaveSettingsInFolder(const PanelConfig& config, const VantelDevices& devices, const std::string& folder,
                                 const std::string& fileName, std::string* error);
// Saves it as the file path (replacing it atomically, as every save does).
bool SaveBackupAs(const PanelCopy& copy, const std::string& path, std::string* error);

// How long reading the panel's settings takes on a link (0 direct serial, 1
// modem, 2 TCP/IP): "about 5 seconds", "about a minute", "a few seconds".
std::string PanelReadTimeEstimate(int connectionType);

}  // namespace t2
