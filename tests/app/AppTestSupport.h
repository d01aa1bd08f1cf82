#pragma once

#include "WindowRegistry.h"

#include <QWidget>

// Stands in for the connection window: counts activations and polling stops.
class FakeConnect : public QWidget, public t2::ChildWindow {
public:
    FakeConnect()
    {
        setWindowTitle("Connect");
        resize(200, 100);
        ++instances;
    }
    void OnActivate() override { ++activations; }
    void StopPolling() override { ++pollingStops; }
    int activations = 0;
    int pollingStops = 0;
    static int instances;
};
