// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder of one's own under the system's temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace vane::tools {

// Makes a new, empty folder named `prefix` and a random suffix that only this user may enter;
// empty when none could be made (`error` then says why).
std::filesystem::path makePrivateFolder(const std::string& prefix, std::error_code& error);

}  // namespace vane::tools
