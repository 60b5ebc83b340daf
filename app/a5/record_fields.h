#pragma once

#include "app/a5/page_content.h"
#include "framework/fields/record_codec.h"

// The A5 labels' view of the record images: the queue record, the product
// and the sending company.
namespace paltrix::a5 {

// REQUIRES: each image is at least its layout's record length.
QueuedLabel QueuedLabelOf(fields::ConstImage a5etiket);
void WriteQueuedLabel(fields::Image a5etiket, const QueuedLabel& label);
LabelProduct LabelProductOf(fields::ConstImage produkt);
LabelSender LabelSenderOf(fields::ConstImage firma);

}  // namespace paltrix::a5
