#include "platform/dialogs.h"
#include "shell/form1.h"

#include <QApplication>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    try {
        radioset::TForm1 Form1;
        Form1.show();
        QApplication::exec();
    } catch (const std::exception& error) {
        // Only start-up can get here: handlers guard themselves.
        radioset::ShowException(error);
    } catch (...) {
        radioset::ShowException(radioset::Exception(QString()));
    }
    return 0;
}
