// Work of several threads that must overlap: each job gets a thread of its
// own, and all are let go at once.
#pragma once

#include <functional>
#include <vector>

// Runs every job on a thread of its own, all starting together, and returns
// when all have finished.
void run_together(const std::vector<std::function<void()>>& jobs);
