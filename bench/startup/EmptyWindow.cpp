// The baseline for the editor's start-up time: a plain Qt main window that paints once, is
// grabbed to a PNG like `vxeditr --screenshot`, and exits.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QString picture = QString::fromLocal8Bit(argv[1]);
    QMainWindow window;
    window.setCentralWidget(new QMdiArea);
    window.resize(1024, 768);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        window.grab().save(picture, "PNG");
        app.quit();
    });
    return app.exec();
}
