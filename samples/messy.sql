CREATE OR REPLACE PACKAGE BODY billing AS   


  PROCEDURE close_month(p_month IN DATE) IS  
  BEGIN	
	UPDATE invoices   
	   SET status = 'CLOSED'


	 WHERE period = p_month;    
  END close_month;



END billing;  
/
