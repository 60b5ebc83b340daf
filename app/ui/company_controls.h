#pragma once

#include <QLineEdit>
#include <QSpinBox>

#include "framework/fields/record_codec.h"

namespace paltrix::app {

// The entries of a company's fields, as the settings window and the company
// form both show them (each builds and places its own).
struct CompanyControls {
  QLineEdit* name = nullptr;
  QLineEdit* address1 = nullptr;
  QLineEdit* address2 = nullptr;
  QSpinBox* postCode = nullptr;
  QLineEdit* town = nullptr;
  QLineEdit* phone = nullptr;
  QLineEdit* fax = nullptr;
  QLineEdit* prefix = nullptr;  // FIR:SSCCNR, 8 digits with leading zeros
  QLineEdit* serial = nullptr;  // FIR:SS, 9 digits with leading zeros
  QSpinBox* pallets = nullptr;

  // REQUIRES: every control is set.
  void Show(fields::ConstImage firma) const;
  // Copies the controls into the Firma image. Returns the entry whose text
  // Windows-1252 cannot hold (the image is then partly written), else nullptr.
  QLineEdit* Take(fields::Image firma) const;
};

}  // namespace paltrix::app
