#pragma once

#include "WindowRegistry.h"

#include <QWidget>

// Stands in for the connection window: the lost-link sequence shows it.
class StandInConnect : public QWidget, public t2::ChildWindow {
public:
    StandInConnect()
    {
        setWindowTitle("Connect");
        resize(200, 100);
    }
    void OnActivate() override { ++activations; }
    int activations = 0;
};
