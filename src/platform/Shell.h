#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace velmora {

// The system shell's "open" for files, web links and mailto: links.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const QString& target) = 0;
};

// Opens through QDesktopServices (gui side) or xdg-open; see platform/ui for the window variant.
class SystemShell final : public Shell {
public:
    bool open(const QString& target) override;
};

class ScriptedShell final : public Shell {
public:
    bool open(const QString& target) override {
        m_opened << target;
        return m_result;
    }
    const QStringList& opened() const { return m_opened; }
    void setResult(bool result) { m_result = result; }

private:
    QStringList m_opened;
    bool m_result = true;
};

// The clock behind the 21-day rule and the names of files written with date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime when) : m_when(std::move(when)) {}
    QDateTime now() const override { return m_when; }
    void set(QDateTime when) { m_when = std::move(when); }

private:
    QDateTime m_when;
};

}  // namespace velmora
