#pragma once
// A classroom of simulated examinees, each with its own working folder and
// its own ResultUpload, uploading through the real transfer channel. Every
// examinee sends a zero record, two progress versions and a final record,
// each version only after the previous one was delivered; at most `poolSize`
// examinees are busy at once, so at most that many transfers run together.
//
// Whenever an upload says Delivered, the file in the exchange folder is read
// at that moment: a state that claims more than the folder holds is noted.
#include "examinee.h"
#include "resultrecord.h"
#include "resultstore.h"
#include "resultupload.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Classroom : public QObject
{
    Q_OBJECT

public:
    static constexpr int kVersions = 4;  // zero record, two progress versions, final
    static constexpr int kFinalVersion = kVersions - 1;

    Classroom(int examinees, int poolSize, QString serverAddress, QString exchangeFolder,
              QString workFolder, QObject *parent = nullptr);
    ~Classroom() override;

    // Called for each examinee's upload before its first save.
    void setUploadSetup(std::function<void(ResultUpload &)> setup) { m_setup = std::move(setup); }
    void start();

    // Who examinee `index` is, and the record it uploads as `version`.
    static Examinee examinee(int index, const QString &serverAddress);
    static ResultRecord record(int index, int version);
    // The row a collection makes of that record.
    static ResultRow row(int index, int version);
    // Which version of its examinee a collected row is; -1 when none.
    static int versionOfRow(const ResultRow &row);

    int examineeCount() const { return int(m_examinees.size()); }
    bool finished() const { return m_done == examineeCount(); }
    int finalsSaved() const { return m_finalsSaved; }
    int finalsDelivered() const { return m_finalsDelivered; }
    int transfers() const { return m_transfers; }
    int mostActive() const { return m_mostActive; }
    int failures() const { return m_failures; }
    int channelErrors() const { return m_channelErrors; }
    // Examinees whose final record failed at least once on its way.
    int finalsRetried() const { return m_finalsRetried; }
    qint64 longestFinalWaitMillis() const { return m_longestFinalWait; }
    // Every Delivered that the exchange folder did not bear out, every
    // upload that failed for good, every record that could not be written.
    const QStringList &problems() const { return m_problems; }

    // The newest version examinee `index` has saved / was told is
    // delivered; -1 before its first.
    int savedVersion(int index) const;
    int deliveredVersion(int index) const;

signals:
    // Right after the final record's upload began.
    void finalSaved(int savedSoFar);
    void finalDelivered(int deliveredSoFar);
    // Every examinee is through, delivered or failed for good.
    void allDone();

private:
    struct Pupil;
    void startNext();
    void saveVersion(Pupil &pupil, int version);
    void onState(Pupil &pupil, ResultUpload::State state);
    bool folderHolds(const Pupil &pupil, int version) const;
    void leave();

    QString m_server;
    QString m_exchange;
    QString m_work;
    int m_poolSize;
    std::function<void(ResultUpload &)> m_setup;
    std::vector<std::unique_ptr<Pupil>> m_examinees;
    int m_next = 0;
    int m_active = 0;
    int m_mostActive = 0;
    int m_done = 0;
    int m_transfers = 0;
    int m_finalsSaved = 0;
    int m_finalsDelivered = 0;
    int m_failures = 0;
    int m_channelErrors = 0;
    int m_finalsRetried = 0;
    qint64 m_longestFinalWait = 0;
    QStringList m_problems;
};
