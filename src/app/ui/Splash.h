#pragma once

#include <QWidget>

namespace velmora {

// The splash window: no frame, 807 x 455, a picture and the version in the top-left corner.
// It closes itself after five seconds; the password dialog closes it earlier.
class Splash final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Splash)

public:
    explicit Splash(const QString& versione, QWidget* parent = nullptr);
    // Shows it and paints it at once, before anything slow happens.
    void mostra();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_testo;
};

}  // namespace velmora
