// The --json output: one document on one line of standard output, so that
// the outputs of many runs joined make JSON lines. Errors still go to stderr.
#pragma once

#include "PanelConfig.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

namespace t2::cli {

// Writes the object and a line feed; 0, or ExitFailure after saying why.
int PrintJson(const QJsonObject& object);

// The configuration's 8-bit (Windows-1252) text as a JSON string.
QJsonValue JsonText(const Bytes& bytes);

// A connection type as the JSON output names it: "serial", "modem", "tcp",
// or "unknown" for a code outside them.
QString LinkTypeJson(int connectionType);

}  // namespace t2::cli
