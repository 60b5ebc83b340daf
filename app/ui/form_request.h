#pragma once

#include <Qt>
#include <optional>

namespace paltrix::app {

// What a record form is opened for.
enum class FormRequest { kView, kInsert, kChange, kDelete };

// The keys with which a list opens its form: Insert to add, Return (or
// Enter) to change, Delete to delete.
inline std::optional<FormRequest> FormRequestForKey(int key) {
  switch (key) {
    case Qt::Key_Insert:
      return FormRequest::kInsert;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return FormRequest::kChange;
    case Qt::Key_Delete:
      return FormRequest::kDelete;
    default:
      return std::nullopt;
  }
}

}  // namespace paltrix::app
