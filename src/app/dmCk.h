#pragma once

#include "db/connection.h"

#include <QObject>
#include <QString>

#include <memory>

// The data module: owns the one connection every window works on.
class TdmCk : public QObject {
    Q_OBJECT
public:
    // Opens the database file (ck.mdb in the working directory unless told
    // otherwise). A failure is reported to the user and leaves a connection that
    // is not open, on which every statement fails with the same text.
    explicit TdmCk(const QString& path = QStringLiteral("ck.mdb"), QObject* parent = nullptr);
    ~TdmCk() override;

    db::Connection& adocnCk() const { return *adocnCk_; }
    bool isOpen() const { return adocnCk_->isOpen(); }

public slots:
    void DataModuleCreate(const QString& path);

private:
    std::unique_ptr<db::Connection> adocnCk_;
};

// The one data module of the running program (set while it exists).
extern TdmCk* dmCk;
