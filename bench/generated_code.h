#pragma once
// A generated VB6 code base of realistic shape for the benchmarks: 500 modules of
// 1,000 lines over 20,000 distinct identifiers.
#include "ide/files/file_system.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <random>
#include <vector>

namespace bench {

inline constexpr int kModules = 500;
inline constexpr int kLinesPerModule = 1000;
inline constexpr int kNames = 20000;

/// 20,000 distinct identifiers in the usual VB6 shapes: prefixes, CamelCase words, digits.
inline QStringList makeNames(std::mt19937 &random)
{
    const QStringList prefixes = {"", "", "m_", "g_", "str", "lng", "int", "b", "obj", "cmd",
                                  "txt", "lbl", "mintCurrent", "p"};
    const QStringList words = {
        "Customer", "Order", "Item", "Count", "Name", "Index", "Total", "Price", "Date", "File",
        "Path", "Buffer", "Handle", "Window", "Project", "Module", "Line", "Text", "Value", "Key",
        "List", "Node", "Tree", "View", "Column", "Row", "Width", "Height", "Left", "Top",
        "Caption", "Tag", "Result", "Status", "Error", "Message", "Record", "Field", "Table",
        "Query", "Report", "Print", "Save", "Load", "Open", "Close", "Find", "Next", "Previous",
        "First", "Last", "Start", "Stop", "Timer", "Color", "Font", "Image", "Icon", "Menu",
        "Tool", "Bar", "Panel", "Form", "Control", "Event", "Click", "Change", "Update", "Delete",
        "Insert", "Select", "Search", "Filter", "Sort", "Group", "Level", "Mode", "Option",
        "Setting", "Config", "User", "Account", "Address", "Phone", "Mail", "Invoice", "Tax",
        "Amount", "Balance", "Stock", "Supplier", "Product", "Category", "Unit", "Size", "Flag"};
    QSet<QString> seen;
    QStringList names;
    while (names.size() < kNames) {
        QString name = prefixes[random() % prefixes.size()] + words[random() % words.size()];
        if (random() % 2)
            name += words[random() % words.size()];
        if (random() % 4 == 0)
            name += QString::number(random() % 10);
        if (!seen.contains(name.toLower())) {
            seen.insert(name.toLower());
            names << name;
        }
    }
    return names;
}

/// One module: declarations, then procedures with Dim statements, assignments, calls,
/// conditionals, loops, comments and strings. Uses a slice of the names plus shared ones.
/// Bodies run `bodyMin` to `bodyMin + bodySpread - 1` lines; with `distinctProcedures` no two
/// procedures of the module share a name (the call analysis counts procedures).
inline QStringList makeModule(std::mt19937 &random, const QStringList &names, int index, int bodyMin = 10,
                              int bodySpread = 30, bool distinctProcedures = false)
{
    std::vector<QString> local;
    for (int k = 0; k < 200; ++k)
        local.push_back(names[(index * 37 + k) % kNames]);
    for (int k = 0; k < 60; ++k)
        local.push_back(names[random() % 800]); // names shared by many modules
    auto pick = [&]() -> const QString & { return local[random() % local.size()]; };

    QStringList lines{QStringLiteral("Attribute VB_Name = \"Module%1\"").arg(index),
                      "Option Explicit", ""};
    for (int k = 0; k < 12; ++k)
        lines << QStringLiteral("Private %1 As Long").arg(pick());
    lines << QStringLiteral("Public Const %1 = \"%2\"").arg(pick(), pick())
          << QStringLiteral("Private Declare Function %1 Lib \"user32\" Alias \"%1A\" (ByVal hWnd As Long) As Long")
                 .arg(pick())
          << "";
    QSet<QString> procedures;
    while (lines.size() < kLinesPerModule) {
        QString proc = pick();
        while (distinctProcedures && procedures.contains(proc.toLower()))
            proc = pick();
        procedures.insert(proc.toLower());
        lines << QStringLiteral("' %1: updates %2 and %3").arg(proc, pick(), pick())
              << QStringLiteral("Public Function %1(ByVal %2 As Long, %3 As String) As Long")
                     .arg(proc, pick(), pick())
              << QStringLiteral("    Dim %1 As Long, %2 As String").arg(pick(), pick());
        const int body = bodyMin + int(random() % bodySpread);
        for (int k = 0; k < body && lines.size() < kLinesPerModule - 2; ++k) {
            switch (random() % 8) {
            case 0:
                lines << QStringLiteral("    %1 = %2 + %3").arg(pick(), pick(), pick());
                break;
            case 1:
                lines << QStringLiteral("    Call %1(%2, \"%3 text\")").arg(pick(), pick(), pick());
                break;
            case 2:
                lines << QStringLiteral("    ' TODO: check %1 before %2").arg(pick(), pick());
                break;
            case 3:
                lines << QStringLiteral("    If %1 > 0 Then %2.%3 = \"value\"").arg(pick(), pick(), pick());
                break;
            case 4:
                lines << QStringLiteral("    For %1 = 1 To %2.Count: Next").arg(pick(), pick());
                break;
            case 5:
                lines << QStringLiteral("    %1 = %2(%3) & \", \" & %1").arg(pick(), pick(), pick());
                break;
            case 6:
                lines << QStringLiteral("    Set %1 = New %2").arg(pick(), pick());
                break;
            default:
                lines << "";
                break;
            }
        }
        lines << QStringLiteral("    %1 = %2").arg(proc, pick()) << "End Function" << "";
    }
    return lines;
}

/// The generated modules as a project in memory, /bench/Bench.vbp: shorter procedures than
/// makeModule's default, of distinct names, 20,000 in all.
inline std::shared_ptr<ide::files::MemoryFileSystem> makeProjectFiles()
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    std::mt19937 random(7);
    const QStringList names = makeNames(random);
    QString vbp = QStringLiteral("Type=Exe\r\nName=\"Bench\"\r\n");
    for (int m = 0; m < kModules; ++m) {
        const QStringList lines = makeModule(random, names, m, 5, 26, true);
        fs->add(QStringLiteral("/bench/Module%1.bas").arg(m), (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
        vbp += QStringLiteral("Module=Module%1; Module%1.bas\r\n").arg(m);
    }
    fs->add(QStringLiteral("/bench/Bench.vbp"), vbp.toLatin1());
    return fs;
}

} // namespace bench
