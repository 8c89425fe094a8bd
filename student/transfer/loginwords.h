// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the login says on its status line and in its messages.
#include "transfer/transferchannel.h"

#include <QString>

namespace loginwords {

QString loggingIn();
QString notOpenYet();
QString codeMissing();
QString badSettings();
// Why the login failed, from how the transfer ended.
QString failed(TransferChannel::Outcome outcome);

}  // namespace loginwords
