#include <QApplication>
#include <QMainWindow>

// Placeholder until MainWindow lands.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QObject::tr("Pensato"));
    window.show();
    return app.exec();
}
