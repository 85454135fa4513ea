#pragma once

#include <functional>

class QWidget;

/// Runs `job` once, soon after `widget` is first painted: for work the first
/// frame does not need. The job waits for the event loop, so that the painted
/// frame reaches the screen first; it is dropped if the widget goes before.
void afterFirstPaint(QWidget *widget, std::function<void()> job);
