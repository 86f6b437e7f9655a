#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "usage: veligram-tool rtf text FILE | rtf roundtrip IN OUT\n";
    return 1;
}
