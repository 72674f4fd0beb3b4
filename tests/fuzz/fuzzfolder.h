#pragma once
// A private temporary folder for the files the fuzz targets write, kept for
// the whole process.

#include <QString>

QString fuzzFile(const char* name);
