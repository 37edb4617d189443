#pragma once
// Helpers shared by the window tests: message boxes and beeps answered without a modal
// loop, widgets looked up by object name, and a place for artefacts.

#include "UserAlerts.h"

#include <QString>
#include <QTest>
#include <QWidget>

#include <vector>

namespace tickforge::testing {

// Records every box the program shows instead of showing it; restores the real boxes
// when it goes out of scope.
class AlertRecorder {
public:
    AlertRecorder()
    {
        previous_ = SetAlertBoxHandler([this](const AlertBox& box) { boxes.push_back(box); });
    }
    ~AlertRecorder() { SetAlertBoxHandler(previous_); }
    AlertRecorder(const AlertRecorder&) = delete;
    AlertRecorder& operator=(const AlertRecorder&) = delete;

    QStringList Texts() const
    {
        QStringList texts;
        for (const AlertBox& box : boxes)
            texts << box.text;
        return texts;
    }

    std::vector<AlertBox> boxes;

private:
    AlertBoxHandler previous_;
};

// Counts beeps instead of sounding them.
class BeepCounter {
public:
    BeepCounter()
    {
        previous_ = SetBeepHandler([this] { ++count; });
    }
    ~BeepCounter() { SetBeepHandler(previous_); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int count = 0;

private:
    BeepHandler previous_;
};

// The child of root with the given object name and type, or null.
template <typename T>
T* Find(const QWidget& root, const char* name)
{
    return root.findChild<T*>(QString::fromLatin1(name));
}

inline QString ArtefactPath(const QString& fileName)
{
    return QStringLiteral(TICKFORGE_TEST_ARTEFACTS) + QLatin1Char('/') + fileName;
}

}  // namespace tickforge::testing
