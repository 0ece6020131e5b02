// A small Qt application to select text in: a line edit and a multi-line editor, below a list
// whose current item stays marked as focused wherever the keyboard focus goes. It prints
// "ready" once its window is active. With --own-clipboard it instead puts text and an image on
// the clipboard, prints "owned", and keeps serving them until it is stopped.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace {

void say(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

QByteArray png()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

int ownClipboard(QApplication& app)
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("user text"));
    data->setData(QStringLiteral("image/png"), png());
    QApplication::clipboard()->setMimeData(data);
    say("owned");
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--own-clipboard")))
        return ownClipboard(app);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Selection target"));
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QListWidget;
    list->addItems({QStringLiteral("Contents"), QStringLiteral("Index")});
    list->setCurrentRow(0);
    list->setMaximumHeight(60);
    auto* line = new QLineEdit(QStringLiteral("alpha beta gamma"));
    line->setAccessibleName(QStringLiteral("line"));
    auto* editor = new QTextEdit;
    editor->setPlainText(QStringLiteral("first line words\nsecond line here\nthird line end"));
    editor->setAccessibleName(QStringLiteral("editor"));
    layout->addWidget(list);
    layout->addWidget(line);
    layout->addWidget(editor);
    window.resize(480, 320);
    window.move(80, 80);
    window.show();

    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll] {
        if (!window.isActiveWindow())
            return;
        poll->stop();
        say("ready");
    });
    poll->start(20);
    return app.exec();
}
