#pragma once
// Hands a message to the running player over the single-instance channel, starting the
// player first when none runs.

#include <QByteArray>
#include <chrono>
#include <string>

// Sends message to the running player. When none runs, starts playerProgram (detached, so
// it outlives this process) and sends once it listens, waiting at most timeout. Launchers
// started together take turns, so that only one player is started. Throws
// std::runtime_error when the player cannot be started, ends before it listens, or does not
// listen in time.
void HandOver(const QByteArray &message, const std::string &playerProgram,
              std::chrono::milliseconds timeout);
