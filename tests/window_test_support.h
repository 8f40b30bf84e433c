// Helpers shared by the window tests.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <ostream>

// Lets GoogleTest print texts in its failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

// The child of `window` with the object name `name`, or a test failure.
template <typename T>
T* Find(const QWidget& window, const char* name) {
  T* widget = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}
