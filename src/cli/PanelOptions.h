// The link options every panel command takes, and the upload into memory that
// a command comparing with the panel needs. Defined with the panel commands.
#pragma once

#include "CliCommand.h"

#include "PanelSession.h"

namespace t2::cli {

// "(--tcp HOST[:PORT] | --serial DEVICE | --modem DEVICE --phone NUMBER) [--trace FILE]"
extern const char* const LinkUsage;

// A panel command's arguments: the link and the command's own options.
struct PanelOptions : Arguments {
    LinkSettings link;
    std::string trace;
};

// Parses args; valueOptions and flagOptions name the command's own options.
// Returns false (with a message) on a usage error.
bool ParseOptions(const std::vector<std::string>& args, std::vector<std::string> valueOptions,
                  const std::vector<std::string>& flagOptions, PanelOptions& o, std::string& message);

// Connects as the options say and reads the panel's configuration into copy
// (PanelSession::UploadIntoMemory, onto the base given), writing nothing to
// the panel or to a file. Returns 0, or the upload's exit code after saying on
// stderr what went wrong.
int UploadIntoMemory(const PanelOptions& o, const PanelConfig& base, const VantelDevices& baseDevices, PanelCopy& copy);

}  // namespace t2::cli
