#include "cli/cli.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("radioset-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int rc = radioset::cli::Run(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return rc;
}
