// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/loginwords.h"

#include <QCoreApplication>

namespace loginwords {

QString loggingIn()
{
    return QCoreApplication::translate("LoginSession", "正在登录服务器......");
}

QString notOpenYet()
{
    return QCoreApplication::translate("LoginSession", "还未开始考试，请稍后再登录");
}

QString codeMissing()
{
    return QCoreApplication::translate("LoginSession",
                                       "本场考试需要登录码，请输入监考老师发给你的登录码");
}

QString badSettings()
{
    return QCoreApplication::translate("LoginSession",
                                       "考试设置有误，无法开始考试，请报告监考老师");
}

QString failed(TransferChannel::Outcome outcome)
{
    QString reason;
    switch (outcome) {
    case TransferChannel::Outcome::CannotConnect:
        reason = QCoreApplication::translate("LoginSession", "无法连接服务器");
        break;
    case TransferChannel::Outcome::NoAnswer:
        reason = QCoreApplication::translate("LoginSession", "服务器没有应答");
        break;
    case TransferChannel::Outcome::LocalFile:
        reason = QCoreApplication::translate("LoginSession", "本机无法保存考试文件");
        break;
    case TransferChannel::Outcome::Completed:
    case TransferChannel::Outcome::Refused:
    case TransferChannel::Outcome::ReplaceRefused:
    case TransferChannel::Outcome::FolderInTheWay:
    case TransferChannel::Outcome::TooLarge:
        reason = QCoreApplication::translate("LoginSession", "服务器拒绝了请求");
        break;
    }
    return QCoreApplication::translate("LoginSession", "登录服务器失败，请重新登录（%1）")
            .arg(reason);
}

}  // namespace loginwords
