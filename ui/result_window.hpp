#pragma once

#include <memory>

#include "app/result_view.hpp"
#include "ui/desktop_session.hpp"

// The result window. Its open() starts Qt in the session, so a run without a
// display never loads a platform plugin. The session must outlive the view.
namespace gapmerge {

std::unique_ptr<ResultView> makeResultWindow(DesktopSession& session);

}  // namespace gapmerge
