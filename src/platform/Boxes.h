#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace velmora {

// Every message, confirmation and input box of the program goes through this interface: the
// windows use the Qt implementation, tests and velmora-cli use their own.
class Boxes {
public:
    virtual ~Boxes() = default;
    // A plain message box with an OK button.
    virtual void message(const QString& text) = 0;
    // The standard error box that shows an unexpected error's own text.
    virtual void error(const QString& text) = 0;
    // An OK/Cancel confirmation; true for OK.
    virtual bool confirm(const QString& text) = 0;
    // An input box; no value when the user cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& initial) = 0;
};

// Records every text shown and answers from prepared answers, in order. Without a prepared
// answer a confirmation answers OK and an input box is cancelled.
class ScriptedBoxes final : public Boxes {
public:
    void message(const QString& text) override { m_shown << text; }
    void error(const QString& text) override {
        m_shown << text;
        m_errors << text;
    }
    bool confirm(const QString& text) override {
        m_shown << text;
        if (m_confirmations.isEmpty())
            return true;
        return m_confirmations.takeFirst();
    }
    std::optional<QString> input(const QString& title, const QString& prompt, const QString&) override {
        m_shown << title + QLatin1Char('|') + prompt;
        if (m_inputs.isEmpty())
            return std::nullopt;
        return m_inputs.takeFirst();
    }

    void answerConfirm(bool ok) { m_confirmations << ok; }
    void answerInput(std::optional<QString> value) { m_inputs << value; }
    const QStringList& shown() const { return m_shown; }
    const QStringList& errors() const { return m_errors; }
    void clear() {
        m_shown.clear();
        m_errors.clear();
    }

private:
    QStringList m_shown;
    QStringList m_errors;
    QList<bool> m_confirmations;
    QList<std::optional<QString>> m_inputs;
};

// Boxes that write to standard error and answer confirmations with a fixed answer; used by
// velmora-cli, where nobody sits in front of a window.
class StreamBoxes final : public Boxes {
public:
    explicit StreamBoxes(bool confirmAnswer = true) : m_confirmAnswer(confirmAnswer) {}
    void message(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;

private:
    bool m_confirmAnswer;
};

}  // namespace velmora
