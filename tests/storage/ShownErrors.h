#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs an action of the data file and returns the texts of the failures it showed, in order.
// Natively the texts are recorded where the program would show them. Under Windows the
// program's own message boxes appear: each one is read as the user sees it and closed with
// OK, and any box that is not captioned "Error", has an owner, lacks the stop icon or offers
// more than the OK button is reported as a test failure.
std::vector<std::string> RunShowingErrors(const std::function<void()>& action);
