#pragma once
// The application object GUI tests need, made once per test program (offscreen).

class QApplication;

namespace testing_support {

QApplication &EnsureApplication();

} // namespace testing_support
