// The text-fit walks can leave a picture of every screen they check: with TEXT_FIT_PICTURES set
// to a folder, each check writes <folder>/<name>.png, to be looked at by a person.
#pragma once

#include <string>

namespace fit_test {

// Writes the screen as <TEXT_FIT_PICTURES>/<name>.png when the variable names a folder.
void KeepPicture(const std::string& name);

}  // namespace fit_test
