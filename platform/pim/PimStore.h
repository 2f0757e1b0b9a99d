// The handheld's personal-information object model: contacts, appointments and tasks.
// Here it works over the PIM folder (--pim-dir): contacts/*.vcf, calendar.ics, tasks.ics.
#pragma once

#include "platform/pim/Application.h"
#include "platform/pim/Appointment.h"
#include "platform/pim/Contact.h"
#include "platform/pim/Folder.h"
#include "platform/pim/Item.h"
#include "platform/pim/ItemCollection.h"
#include "platform/pim/RecurrencePattern.h"
#include "platform/pim/Task.h"
