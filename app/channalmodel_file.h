#pragma once
// File entries: the arbitrary wave of the carrier, the arbitrary wave of the
// modulating source and the frequency list of the list sweep. The file
// browser calls onFileSelectEvent with the highlighted path (preview) and
// with the chosen one (confirm).
#include "app/channalmodel.h"

class fileModelBase : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    QString onFileSelectEvent(QString path, bool confirm) override;
    void disUpdate() override;

protected:
    // The path the record holds, and its setter.
    virtual QString storedPath() const = 0;
    virtual void storePath(const QByteArray& path) = 0;
    // Preview of a highlighted file on the channel (none by default).
    virtual void preview(const QString&, bool) {}
    // The last previewed path, kept once per class.
    virtual QString& lastPreview() = 0;
    // Whether the file can be played: it opens and holds data.
    virtual bool headerOk(const QString& boardFile) const;
};

class arbfileModel : public fileModelBase {
    Q_OBJECT
public:
    using fileModelBase::fileModelBase;

protected:
    QString storedPath() const override;
    void storePath(const QByteArray& path) override;
    void preview(const QString& path, bool confirm) override;
    QString& lastPreview() override { return s_last; }

private:
    static QString s_last;
};

class modarbfileModel : public fileModelBase {
    Q_OBJECT
public:
    using fileModelBase::fileModelBase;

protected:
    QString storedPath() const override;
    void storePath(const QByteArray& path) override;
    QString& lastPreview() override { return s_last; }

private:
    static QString s_last;
};

class listfileModel : public fileModelBase {
    Q_OBJECT
public:
    using fileModelBase::fileModelBase;

protected:
    QString storedPath() const override;
    void storePath(const QByteArray& path) override;
    void preview(const QString& path, bool confirm) override;
    QString& lastPreview() override { return s_last; }

private:
    static QString s_last;
};
