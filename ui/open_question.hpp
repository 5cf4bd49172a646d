#pragma once

#include <memory>

class QMessageBox;
class QWidget;

// The question whether to open the merged results file.
namespace gapmerge {

// A modal box "Open merged results file" with the buttons Yes, No and Cancel,
// in that order on every desktop, Yes the default and Cancel the answer to
// Escape or closing the box; no icon.
std::unique_ptr<QMessageBox> makeOpenQuestion(QWidget* parent);

// Shows the box and waits for the answer: true for Yes.
bool askToOpen(QWidget* parent);

}  // namespace gapmerge
