// Answers every message box the launcher opens in a test, keeping its caption and text.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace tamtara::testing {

class BoxAnswerer : public QObject {
public:
    BoxAnswerer() {
        Timer.setInterval(5);
        connect(&Timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Boxes.push_back(box->windowTitle() + "|" + box->text());
                box->accept();
            }
        });
        Timer.start();
    }
    QStringList Boxes;

private:
    QTimer Timer;
};

} // namespace tamtara::testing
