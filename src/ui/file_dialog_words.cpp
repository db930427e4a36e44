#include "ui/file_dialog_words.h"

#include <iterator>

#include "base/settings/locale_language.h"

namespace veltrane::ui {

const FileDialogWords& FileDialogWordsFor(int index) {
  static const FileDialogWords kWords[] = {
      {"Flugmodell laden", "Landschaft laden", "Öffnen", "Abbrechen",
       "Datei:", "Mitgelieferte Modelle", "Eigene Modelle", "Mitgelieferte Landschaften",
       "Eigene Landschaften", "Flugplätze", "Hangflug"},
      {"Load model", "Load scenery", "Open", "Cancel", "File:", "Included models", "My models",
       "Included sceneries", "My sceneries", "Flying fields", "Slopes"},
      {"Öppna modell", "Öppna flygfält", "Öppna", "Avbryt", "Fil:", "Medföljande modeller",
       "Egna modeller", "Medföljande flygfält", "Egna flygfält", "Flygfält", "Hangflygning"},
      {"Carica modello", "Carica campo volo", "Apri", "Annulla", "File:", "Modelli inclusi",
       "Modelli personali", "Campi volo inclusi", "Campi volo personali", "Campi volo",
       "Volo in pendio"},
      {"Загрузить модель", "Загрузить местность", "Открыть", "Отмена",
       "Файл:", "Модели из комплекта", "Свои модели", "Местности из комплекта", "Свои местности",
       "Аэродромы", "Склоны"},
      {"Načíst model", "Načíst letiště", "Otevřít", "Zrušit", "Soubor:", "Dodané modely",
       "Vlastní modely", "Dodaná letiště", "Vlastní letiště", "Letiště", "Svahy"},
      {"Charger un modèle", "Charger un terrain", "Ouvrir", "Annuler",
       "Fichier :", "Modèles fournis", "Mes modèles", "Terrains fournis", "Mes terrains",
       "Terrains", "Vol de pente"},
      {"Åpne modell", "Åpne flyplass", "Åpne", "Avbryt", "Fil:", "Medfølgende modeller",
       "Egne modeller", "Medfølgende flyplasser", "Egne flyplasser", "Flyplasser", "Skrenter"},
      {"Carregar modelo", "Carregar campo", "Abrir", "Cancelar", "Arquivo:", "Modelos incluídos",
       "Meus modelos", "Campos incluídos", "Meus campos", "Campos", "Encostas"},
      {"Cargar modelo", "Cargar campo", "Abrir", "Cancelar", "Archivo:", "Modelos incluidos",
       "Mis modelos", "Campos incluidos", "Mis campos", "Campos", "Laderas"},
      {"Wczytaj model", "Wczytaj lotnisko", "Otwórz", "Anuluj", "Plik:", "Dołączone modele",
       "Własne modele", "Dołączone lotniska", "Własne lotniska", "Lotniska", "Zbocza"},
      {"機体の読み込み", "フィールドの読み込み", "開く", "キャンセル", "ファイル:", "付属の機体",
       "自分の機体", "付属のフィールド", "自分のフィールド", "飛行場", "斜面"},
      {"Načítať model", "Načítať letisko", "Otvoriť", "Zrušiť", "Súbor:", "Dodané modely",
       "Vlastné modely", "Dodané letiská", "Vlastné letiská", "Letiská", "Svahy"},
      {"Φόρτωση μοντέλου", "Φόρτωση τοπίου", "Άνοιγμα", "Άκυρο",
       "Αρχείο:", "Μοντέλα που περιέχονται", "Δικά μου μοντέλα", "Τοπία που περιέχονται",
       "Δικά μου τοπία", "Πεδία πτήσης", "Πλαγιές"},
      {"Indlæs model", "Indlæs flyveplads", "Åbn", "Annuller", "Fil:", "Medfølgende modeller",
       "Egne modeller", "Medfølgende flyvepladser", "Egne flyvepladser", "Flyvepladser",
       "Skrænter"},
      {"Model laden", "Vliegveld laden", "Openen", "Annuleren", "Bestand:", "Meegeleverde modellen",
       "Eigen modellen", "Meegeleverde vliegvelden", "Eigen vliegvelden", "Vliegvelden",
       "Hellingen"},
      {"载入模型", "载入场地", "打开", "取消", "文件:", "附带的模型", "我的模型", "附带的场地",
       "我的场地", "飞行场", "山坡"},
      {"載入模型", "載入場地", "開啟", "取消", "檔案:", "隨附的模型", "我的模型", "隨附的場地",
       "我的場地", "飛行場", "山坡"},
  };
  static_assert(std::size(kWords) == lang::kCount);
  return lang::IsIndex(index) ? kWords[index] : kWords[lang::kGerman];
}

}  // namespace veltrane::ui
