#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::fprintf(stderr, "quillon: the main window is not built yet\n");
    return 1;
}
