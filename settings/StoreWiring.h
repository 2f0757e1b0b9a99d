// Hands the store the user's choices it follows (the name order and the automatic exports),
// read from the settings each time the store asks.
#pragma once

namespace pellucard {

void connectStoreToSettings();

}  // namespace pellucard
