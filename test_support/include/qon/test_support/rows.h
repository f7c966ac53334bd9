// SPDX-License-Identifier: MIT
#pragma once

// Table-driven tests: each row names its fields with designated initialisers and carries
// a `name` that says what the row proves. The test name and gtest's printout of the
// parameter are that name, never a byte dump of the row.
//
//   struct BounceRow { const char* name; int kind = 0; int expDY = 0; };
//   INSTANTIATE_TEST_SUITE_P(Blocks, Bounce, ::testing::ValuesIn(kRows), RowName);

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace qon::test_support {

template <typename Row>
concept NamedRow = requires(const Row& row) {
    std::string(row.name);
};

// The test name suffix: the row's name.
struct RowNameFn {
    template <NamedRow Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        return std::string(info.param.name);
    }
};
inline constexpr RowNameFn RowName{};

}  // namespace qon::test_support

// Found by argument-dependent lookup only for rows in these namespaces; other rows get the
// same printing from a PrintTo of their own namespace (QON_PRINT_ROWS_BY_NAME below).
#define QON_PRINT_ROWS_BY_NAME                                        \
    template <::qon::test_support::NamedRow Row>                      \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* os) { \
        *os << row.name;                                              \
    }
