#include "ui/file_dialog_words.h"

namespace veltrane::ui {

const FileDialogWords& FileDialogWordsFor(int index) {
  static const FileDialogWords kWords[] = {
      {"Flugmodell laden", "Landschaft laden", "Öffnen", "Abbrechen", "Datei:"},
      {"Load model", "Load scenery", "Open", "Cancel", "File:"},
      {"Öppna modell", "Öppna flygfält", "Öppna", "Avbryt", "Fil:"},
      {"Carica modello", "Carica campo volo", "Apri", "Annulla", "File:"},
      {"Загрузить модель", "Загрузить местность", "Открыть", "Отмена", "Файл:"},
      {"Načíst model", "Načíst letiště", "Otevřít", "Zrušit", "Soubor:"},
      {"Charger un modèle", "Charger un terrain", "Ouvrir", "Annuler", "Fichier :"},
      {"Åpne modell", "Åpne flyplass", "Åpne", "Avbryt", "Fil:"},
      {"Carregar modelo", "Carregar campo", "Abrir", "Cancelar", "Arquivo:"},
      {"Cargar modelo", "Cargar campo", "Abrir", "Cancelar", "Archivo:"},
      {"Wczytaj model", "Wczytaj lotnisko", "Otwórz", "Anuluj", "Plik:"},
      {"機体の読み込み", "フィールドの読み込み", "開く", "キャンセル", "ファイル:"},
      {"Načítať model", "Načítať letisko", "Otvoriť", "Zrušiť", "Súbor:"},
      {"Φόρτωση μοντέλου", "Φόρτωση τοπίου", "Άνοιγμα", "Άκυρο", "Αρχείο:"},
      {"Indlæs model", "Indlæs flyveplads", "Åbn", "Annuller", "Fil:"},
      {"Model laden", "Vliegveld laden", "Openen", "Annuleren", "Bestand:"},
      {"载入模型", "载入场地", "打开", "取消", "文件:"},
      {"載入模型", "載入場地", "開啟", "取消", "檔案:"},
  };
  return index >= 0 && index < 18 ? kWords[index] : kWords[0];
}

}  // namespace veltrane::ui
