#pragma once
// The worker behind EmptyFolder, written over the platform interface.

#include <string_view>

namespace ostrel::platform {

// Appends the platform's separator when the path lacks it, lists the folder
// and deletes (as a file) every entry whose name has a '.'; entries without
// one, such as most folders, stay. Subfolders are never entered. True when the
// folder could be listed, whatever single deletions did; false for an empty
// path or a folder that cannot be listed.
bool ClearFolder(std::string_view folder);

}  // namespace ostrel::platform
