#pragma once

namespace demo {
class DemoState;

// The seed data: templates, the demo account (see README.md) and a few accounts for edge cases.
namespace seed {

inline constexpr const char *kDemoEmail = "demo@vantorix.example";
inline constexpr const char *kDemoLogin = "demo";
inline constexpr const char *kDemoPassword = "Demo-Pass1!";
inline constexpr const char *kPlusEmail = "demo+plus@vantorix.example";
inline constexpr const char *kClosedEmail = "closed@vantorix.example";
inline constexpr const char *kInactiveEmail = "inactive@vantorix.example";
inline constexpr const char *kLooseEmail = "loose@vantorix.example";

void populate(DemoState &state);
// The loose account (seedloose.cpp): the same kinds of data as the demo account's, every loosely typed
// field of its replies in the other legal form.
void populateLoose(DemoState &state);

} // namespace seed
} // namespace demo
