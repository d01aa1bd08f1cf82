// Names, file paths and panel texts come from files and panels: a label must
// show them as they are, never read "<b>" in a relay name as markup.
#pragma once

namespace t2 {

// Makes every label of the application plain text, whoever creates it. Safe to
// call more than once.
void UsePlainTextLabels();

}  // namespace t2
