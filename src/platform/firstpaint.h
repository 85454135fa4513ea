#pragma once

#include <functional>

class QWidget;

class QObject;

/// Runs `job` once, soon after `widget` is first painted: for work the first
/// frame does not need. The job waits for the event loop, so that the painted
/// frame reaches the screen first; it is dropped if the widget or `context`
/// (whose members the job uses) goes before.
void afterFirstPaint(QWidget *widget, QObject *context, std::function<void()> job);
