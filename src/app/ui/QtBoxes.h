#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Boxes.h"

namespace velmora {

// Message, confirmation and input boxes as the windows show them, owned by a parent window.
class QtBoxes final : public Boxes {
public:
    explicit QtBoxes(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text) override;
    void error(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& initial) override;

private:
    QPointer<QWidget> m_parent;
};

}  // namespace velmora
