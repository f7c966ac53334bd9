// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>
#include <cstring>
#include <memory>

namespace qon::tools_common::testing {

// One QApplication for a whole test run, gone before the process's static destructors
// run (Qt crashes when its application object outlives them). Register it with
// ::testing::AddGlobalTestEnvironment.
class HeadlessQtApplication : public ::testing::Environment {
  public:
    explicit HeadlessQtApplication(const char* programName) {
        std::strncpy(m_name, programName, sizeof m_name - 1);
    }
    void SetUp() override {
        // Headless unless the caller chose a display on purpose.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

  private:
    int m_argc = 1;
    char m_name[64] = {};
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

}  // namespace qon::tools_common::testing
