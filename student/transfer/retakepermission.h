// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The examiner's permission for the examinee to sit the exam again: a small
// file in the exchange folder naming the finished session set aside
// (retakeleave.h). It is
// asked for over the transfer channel before an earlier record refuses or
// resumes a login.
#include "transfer/examinee.h"
#include "transfer/transferchannel.h"

#include <QString>

class RetakePermission
{
public:
    RetakePermission(TransferChannel &channel, const QString &workingFolder);

    // Asks the channel for the examinee's permission.
    void request(const Examinee &examinee);
    // Once the channel has completed: the finished session the examiner set
    // aside; empty when there is no permission. In an exam with login codes
    // `key` is the examinee's, and a permission it did not sign is none:
    // a classmate could have written it. The copy is removed.
    QString takeSetAsideSession(const QByteArray &key);

private:
    QString scratchPath() const;

    TransferChannel &m_channel;
    QString m_folder;
};
