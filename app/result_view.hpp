#pragma once

#include <string>

// Where a run shows its outcome: the result window, or standard output in
// batch mode. The run calls open first and, if that succeeded, askOpen (only
// when the merged results file was created), fill and wait, in this order.
namespace gapmerge {

// The three items of the result text, each may hold CR LF and LF line ends.
struct ViewText {
  std::string summary;   // the closing summary text of the merged file
  std::string fileItem;  // "FileName : " + last report name + "\r\nOutputDirectory : " + folder
  std::string warnings;  // the run's warnings, one entry per subject
};

// The result text as one text with LF line ends: the summary, the file item
// and the warnings, each starting on a new line. CR LF and a lone CR become LF.
std::string joinViewText(const ViewText& text);

class ResultView {
 public:
  ResultView() = default;
  ResultView(const ResultView&) = delete;
  ResultView& operator=(const ResultView&) = delete;
  ResultView(ResultView&&) = delete;
  ResultView& operator=(ResultView&&) = delete;
  virtual ~ResultView() = default;

  // Shows the (empty) view; false when it cannot be shown.
  virtual bool open() = 0;
  // Offers to open the merged results file with the desktop's application.
  virtual void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) = 0;
  // Shows the result text.
  virtual void fill(const ViewText& text) = 0;
  // Returns when the user is done with the view.
  virtual void wait() = 0;
};

}  // namespace gapmerge
