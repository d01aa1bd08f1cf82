// The connection window's test fixture: the main window with the connection
// window open, a simulated panel in the same thread, and scripted prompts.
#pragma once

#include "frmT2Connect.h"
#include "frmT2MasterMDI.h"
#include "Prompts.h"

#include "Defaults.h"
#include "ImagePacking.h"
#include "Links.h"
#include "PanelSimulator.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Readable QStrings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace t2::test {

using t2::sim::FaultOptions;
using t2::sim::PanelSimulator;

// Time-outs are counted in twentieths of a second here.
constexpr int TestMsPerSecond = 50;

inline std::vector<std::uint8_t> ImageBytes(const PanelImage& image)
{
    const std::string b = PanelImageBytes(image);
    return {b.begin(), b.end()};
}

struct ConnectWindow : ::testing::Test {
    ProgramState state;
    std::unique_ptr<frmT2MasterMDI> main;
    frmT2Connect* w = nullptr;
    PanelSimulator sim;
    ScriptedPrompts prompts;

    // Whether a download backs up the panel's settings first (the check box,
    // remembered between runs). The tests of the download itself run
    // without; those of the backup and the question before it turn it on.
    virtual bool BackUpFirst() const { return false; }

    void SetUp() override
    {
        frmT2Connect::RememberBackUpFirst(BackUpFirst());
        main = std::make_unique<frmT2MasterMDI>(state);
        main->Startup();
        main->tmrFix->stop();
        main->show();
        w = dynamic_cast<frmT2Connect*>(main->OpenWindow("frmT2Connect"));
        ASSERT_NE(w, nullptr);
        w->Session().Exchange().SetMillisecondsPerSecond(TestMsPerSecond);
        sim.Panel().SetRevision("V1");
        prompts.asked.clear();
    }
    void TearDown() override
    {
        main->ExitRequested = true;
        main.reset();
        SetComPortOverride(1, {});
    }

    // The link settings as the user picks them, then the window activated.
    void UseTcp()
    {
        if (!sim.TcpPort()) {
            ASSERT_TRUE(sim.StartTcp(0));
        }
        state.Config.ConnectionType() = ConnectTcpIp;
        state.Config.PanelAddress() = "127.0.0.1:" + std::to_string(sim.TcpPort());
        main->OpenWindow("frmT2Connect");
    }
    void UsePty()
    {
        if (sim.PtyPath().isEmpty()) {
            QString error;
            ASSERT_TRUE(sim.StartPty(&error)) << error.toStdString();
        }
        SetComPortOverride(1, sim.PtyPath());
        state.Config.ConnectionType() = ConnectDirectSerial;
        state.Config.CommPort = 1;
        main->OpenWindow("frmT2Connect");
    }
    void Connect()
    {
        QTest::mouseClick(w->cmdConnect, Qt::LeftButton);
        ASSERT_TRUE(state.PanelConnected) << prompts.Texts().join(" | ").toStdString();
    }
    QString LastText() const { return prompts.asked.empty() ? QString() : prompts.asked.back().text; }
    bool MenusEnabled() const
    {
        for (QAction* a : main->TopMenus())
            if (!a->isEnabled()) return false;
        return true;
    }
    // Types digits into a row of password boxes, each key to its box.
    void TypeDigits(std::array<QLineEdit*, 6>& row, const QString& digits)
    {
        for (int k = 0; k < 6; ++k) QTest::keyClick(row[k], digits[k].toLatin1());
    }
};

}  // namespace t2::test
