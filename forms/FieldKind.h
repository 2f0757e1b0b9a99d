// What kind of value a form row holds; the numbers are the ones rows have always been stored
// and compared with.
#pragma once

namespace pellucard {

enum class FieldKind : int {
  Text = 0,    // plain, numeric, password and expandable text rows
  Choice = 2,  // a list of texts, each standing for a value
  Date = 3,    // date and time rows
};

}  // namespace pellucard
