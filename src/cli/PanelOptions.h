// The link options every panel command takes, and the upload into memory that
// a command comparing with the panel needs. Defined with the panel commands.
#pragma once

#include "CliCommand.h"

#include "PanelSession.h"

#include <QJsonObject>

namespace t2::cli {

// "(--site SITE.TMB | --tcp HOST[:PORT] | --serial DEVICE | --modem DEVICE --phone NUMBER) [--trace FILE]"
extern const char* const LinkUsage;

// A panel command's arguments: the link and the command's own options.
struct PanelOptions : Arguments {
    LinkSettings link;
    std::string trace;
    // The settings file whose own link is used (--site), read by TakeSiteLink.
    std::string site;
    bool hasLink = false;  // a link option was given
};

// Parses args; valueOptions and flagOptions name the command's own options.
// Returns false (with a message) on a usage error. Without linkOptional a
// link option is required.
bool ParseOptions(const std::vector<std::string>& args, std::vector<std::string> valueOptions,
                  const std::vector<std::string>& flagOptions, PanelOptions& o, std::string& message,
                  bool linkOptional = false);

// With o.site set: reads that settings file and takes its link (connection
// type, address and port, COM port as the program maps it, phone number),
// checked as set-link checks what it writes. Returns 0, or the exit code
// after saying why on stderr: unreadable (a file that cannot be read), 64 (a
// link that cannot be used), 10 (a COM port with no device here). With read
// given, the site's settings are read into it, for a caller that needs them
// too.
int TakeSiteLink(PanelOptions& o, int unreadable = ExitFailure, ProgramState* read = nullptr);

// The link as the JSON output names it: {"type": "tcp", "address": ..,
// "port": ..} | {"type": "serial" | "modem", "comPort": n | null, "device":
// ..., "phone": ...}.
QJsonObject LinkJson(const LinkSettings& link);

// Connects as the options say and uploads the panel's settings onto the
// configuration in state (the base: a fresh one, a --base file, a site's
// file) as the upload command does, names only with names; progress on
// stderr with progress. Returns 0, or the exit code after saying why.
int UploadOnto(const PanelOptions& o, bool names, ProgramState& state, bool progress);

// Connects as the options say and reads the panel's configuration into copy
// (PanelSession::UploadIntoMemory, onto the base given), writing nothing to
// the panel or to a file. Returns 0, or the upload's exit code after saying on
// stderr what went wrong.
int UploadIntoMemory(const PanelOptions& o, const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy);

}  // namespace t2::cli
