// The rows of a parameter table each have a `name`: it names the row's case,
// and it is what a failure message prints for the row (a test file brings
// the printer in with `using tolvu_test::operator<<;`). Shared by the unit
// and the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

namespace tolvu_test {

template <typename Row>
std::string ParamName(const ::testing::TestParamInfo<Row>& rowInfo) {
  return rowInfo.param.name;
}

template <typename Row, typename = decltype(std::declval<const Row&>().name)>
std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << row.name;
}

}  // namespace tolvu_test
