#pragma once

#include <QByteArray>

class Document;

// What every fuzz target shares: the Qt the core needs to measure text, and
// the steps the editor runs after a document reached memory, with the checks
// that turn a quiet fault into a crash libFuzzer reports.
namespace FuzzSupport {

// A GUI application on the offscreen platform and the font substitutions,
// made once for the whole run (LLVMFuzzerInitialize).
void initialize();

// The steps of Open after a successful read: the reader's post-processing,
// train labels when the document has none, time labels at the opening scale.
// Then Save: the document must write, the written file must open again, and
// saving what was opened must give the same bytes (one load reverses the
// label list, so it is turned back first). A RangeError or ConversionError
// ends the command with its message, as in the editor, and is no fault; the
// user may still save what the command left.
void openSteps(Document &doc);

// Save, reopen and save again, with the checks of openSteps.
void checkSaveReopens(const Document &doc);

// Fails the run with a message on standard error.
[[noreturn]] void fault(const char *what);

} // namespace FuzzSupport
