// SPDX-License-Identifier: MIT
#pragma once

#include "qon/tools/testing/scratch_folder.h"

namespace qon::sorrel::test {
using qon::tools::testing::ReadBytes;
using qon::tools::testing::ScratchFolder;
using qon::tools::testing::WriteBytes;
}  // namespace qon::sorrel::test
