// Names and texts are kept as the panel's 8-bit Windows-1252 bytes; they become
// Unicode only where they meet the screen.
#pragma once

#include "PanelConfig.h"

#include <QString>

namespace t2 {

// Bytes to text. The five bytes Windows-1252 leaves undefined become the control
// characters of the same value, so that every byte survives the way back.
QString BytesToText(const Bytes& bytes);

// Text to bytes; a character the code page cannot hold becomes '?'.
Bytes TextToBytes(const QString& text);

}  // namespace t2
