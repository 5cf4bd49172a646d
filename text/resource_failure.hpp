#pragma once

#include <new>
#include <system_error>

// A resource that runs out (memory, threads, descriptors) mid-run leaves no
// state that can be trusted to be whole: the process ends at once, from
// whichever thread found it, with one line on standard error and status 1,
// after removing the temporary files noted in text/whole_file.hpp, so that
// the previous results stay as they were.
namespace gapmerge {

// Removes the noted temporary files, writes "<program>: <what>" and a line
// end to standard error and ends the process with status 1. Safe on any
// thread; allocates nothing.
[[noreturn]] void endForLackOf(const char* what);

// Makes an allocation that fails end the process as endForLackOf does, at
// once and on its own thread: unwinding from it could run destructors that
// still format and write, and allocate again.
void endWhenMemoryRunsOut();

// Runs body, ending the process as endForLackOf does when memory runs out or
// a thread or another resource of the system cannot be had; what body
// returns otherwise. For the top of main and of every thread.
template <class Body>
auto runOrEnd(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    endForLackOf("out of memory");
  } catch (const std::system_error& error) {
    endForLackOf(error.what());
  }
}

}  // namespace gapmerge
