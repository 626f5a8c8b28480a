#pragma once

#include <QString>

#include <memory>

namespace radioset {

// An INI file in code page 936 (GBK), edited in place: every line we do not
// change is written back byte for byte, invalid GBK and comments included.
//
// Constructing opens nothing. The file is read once, on the first
// ReadString or WriteString; writes edit that copy, and UpdateFile() saves
// them in one step. A plan save writes some 65 values: saving once keeps the
// file whole if anything fails part-way (it is either the old file or the
// new one, never a mix), and a single save is one error to report. Nothing
// is saved by the destructor: a save that can fail must be asked for.
//
// Layout read:
//  - lines end in LF or CR LF; the last line may lack its end;
//  - "[name]" starts a section (blanks around it and text after "]" are
//    ignored); "key=value" is an entry; lines starting with ";" or "#", and
//    any other line, are kept but mean nothing;
//  - section and key names are compared without regard to case and without
//    the blanks around them; the first of two equal sections or keys wins;
//  - a value loses the blanks (space, tab) around it, then one pair of
//    matching quotes (" or ') around it, then anything past 2047 characters,
//    the length the original tool read.
//
// Layout written: a changed entry keeps its key as spelled in the file; a
// new key goes after the last entry of its section, a new section after all
// others. A value that the reading rules would alter (blanks at either end,
// or quotes around it) is written in double quotes, so it reads back as it
// was written. Line breaks cannot live in a value and are written as
// blanks; characters without a GBK form are written as "?".
// New lines end in CR LF, as the original tool's files do, unless the file
// already uses LF, in which case they follow the file.
//
// A file that cannot be read (a folder, a device, more than 4 MiB) reads as
// empty, and UpdateFile() then refuses to replace it, since its lines could
// not be kept.
class IniFile {
public:
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(QString fileName);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& FileName() const { return fileName_; }

    // The value, or `defaultValue` when the file, the section or the key is
    // missing. Never fails.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;

    // Replaces the value of the key, or adds the key (and its section) as
    // needed. Only the copy in memory changes.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Saves the changes made since the last save, if any: the new content is
    // written beside the file and replaces it in one step. Throws
    // EInOutError("Unable to write to <file name>") and leaves the file as it
    // was when that is impossible.
    void UpdateFile();

private:
    struct Content;
    Content& Loaded() const;

    QString fileName_;
    mutable std::unique_ptr<Content> content_;
    bool dirty_ = false;
};

} // namespace radioset
